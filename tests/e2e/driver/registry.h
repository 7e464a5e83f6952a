#pragma once
// The per-user registry state the cases depend on: cleared before a case, restored after it.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

bool key_exists(HKEY root, const std::wstring& subkey);
void delete_key_tree(HKEY root, const std::wstring& subkey);
std::optional<std::wstring> read_string(HKEY root, const std::wstring& subkey, const std::wstring& name);

// Sets a REG_DWORD value for the lifetime of the object, then puts back what was there before
// (including nothing).
class ScopedDword {
public:
    ScopedDword(HKEY root, std::wstring subkey, std::wstring name, DWORD value);
    ScopedDword(const ScopedDword&) = delete;
    ScopedDword& operator=(const ScopedDword&) = delete;
    ~ScopedDword();

private:
    HKEY root_;
    std::wstring subkey_;
    std::wstring name_;
    std::optional<DWORD> previous_;
};

// Creates a key holding one REG_SZ value for the lifetime of the object, then deletes the key.
class ScopedStringKey {
public:
    ScopedStringKey(HKEY root, std::wstring subkey, const std::wstring& name, const std::wstring& value);
    ScopedStringKey(const ScopedStringKey&) = delete;
    ScopedStringKey& operator=(const ScopedStringKey&) = delete;
    ~ScopedStringKey();

private:
    HKEY root_;
    std::wstring subkey_;
};

}  // namespace e2e
