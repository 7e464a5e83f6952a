#include "driver/registry.h"

#include <stdexcept>

namespace e2e {
namespace {

void check(LSTATUS status, const char* what) {
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(status));
}

void write_value(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD type,
                 const void* data, DWORD size) {
    HKEY key = nullptr;
    check(RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                          nullptr, &key, nullptr),
          "RegCreateKeyExW");
    const LSTATUS status = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    check(status, "RegSetValueExW");
}

}  // namespace

bool key_exists(HKEY root, const std::wstring& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void delete_key_tree(HKEY root, const std::wstring& subkey) {
    const LSTATUS status = RegDeleteTreeW(root, subkey.c_str());
    if (status != ERROR_FILE_NOT_FOUND) check(status, "RegDeleteTreeW");
}

std::optional<std::wstring> read_string(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    DWORD size = 0;
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

ScopedDword::ScopedDword(HKEY root, std::wstring subkey, std::wstring name, DWORD value)
    : root_(root), subkey_(std::move(subkey)), name_(std::move(name)) {
    DWORD old = 0;
    DWORD size = sizeof old;
    if (RegGetValueW(root_, subkey_.c_str(), name_.c_str(), RRF_RT_REG_DWORD, nullptr, &old, &size) ==
        ERROR_SUCCESS)
        previous_ = old;
    write_value(root_, subkey_, name_, REG_DWORD, &value, sizeof value);
}

// Restoring is best effort: a destructor has no one to report to, and the next case clears
// what it depends on anyway.
ScopedDword::~ScopedDword() {
    if (previous_) {
        const DWORD old = *previous_;
        (void)RegSetKeyValueW(root_, subkey_.c_str(), name_.c_str(), REG_DWORD, &old, sizeof old);
    } else {
        (void)RegDeleteKeyValueW(root_, subkey_.c_str(), name_.c_str());
    }
}

ScopedStringKey::ScopedStringKey(HKEY root, std::wstring subkey, const std::wstring& name,
                                 const std::wstring& value)
    : root_(root), subkey_(std::move(subkey)) {
    write_value(root_, subkey_, name, REG_SZ, value.c_str(),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

ScopedStringKey::~ScopedStringKey() { (void)RegDeleteTreeW(root_, subkey_.c_str()); }

}  // namespace e2e
