#include <shobjidl.h>
#include <windows.h>

#include <algorithm>
#include <span>
#include <string>

#include "app/app_files.h"
#include "base/app_folder.h"
#include "base/product.h"
#include "features/state_files.h"
#include "host/file_io.h"
#include "host/handles.h"
#include "host/text.h"
#include "resource_ids.h"

namespace wm {
namespace {

void set_string_value(HKEY key, const wchar_t* name, const std::wstring& value) {
    // REG_SZ data counts its terminating zero.
    (void)RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Null when the key can be neither opened nor created: every identity value is optional.
host::UniqueKey create_key(const wchar_t* subkey) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return host::UniqueKey(raw);
}

}  // namespace

std::optional<std::wstring> write_app_icon_file() {
    auto path = app_file_path(kImageFile);
    if (!path) return std::nullopt;
    const auto image = host::resource_bytes(kAppImageResource);
    if (image.empty()) return std::nullopt;
    // Almost every start finds the image already there: reading it costs less than replacing it,
    // and the file ends the same either way.
    const auto same_size = [&image](const FileFacts& facts) {
        return facts.plain_disk_file && facts.size == image.size();
    };
    if (const auto present = host::read_file(*path, same_size);
        present && std::ranges::equal(std::as_bytes(std::span(present->data(), present->size())), image))
        return path;
    if (!host::create_folders(host::parent_folder(*path))) return std::nullopt;
    // Through a temporary file: a kill or a full disk must not leave a torn image that the
    // registry still points to.
    if (!replace_app_file(*path, image)) return std::nullopt;
    return path;
}

void register_app_identity(const std::optional<std::wstring>& icon_file) {
    const std::wstring identity_key = L"Software\\Classes\\AppUserModelId\\" + std::wstring(kAppIdentityW);
    if (const auto key = create_key(identity_key.c_str())) {
        set_string_value(key.get(), L"DisplayName", std::wstring(kProductNameW));
        if (icon_file) set_string_value(key.get(), L"IconUri", *icon_file);
        set_string_value(key.get(), L"CustomActivator", std::wstring(kToastActivatorClassW));
    }
    // Rewritten at every start, so that a click after the shell ended starts this executable
    // even when it was moved or renamed since an earlier start.
    const auto executable = host::executable_path();
    if (!executable) return;
    const std::wstring server_key =
        L"Software\\Classes\\CLSID\\" + std::wstring(kToastActivatorClassW) + L"\\LocalServer32";
    if (const auto key = create_key(server_key.c_str()))
        set_string_value(key.get(), nullptr, L'"' + *executable + L'"');
}

void set_process_identity() { (void)SetCurrentProcessExplicitAppUserModelID(std::wstring(kAppIdentityW).c_str()); }

}  // namespace wm
