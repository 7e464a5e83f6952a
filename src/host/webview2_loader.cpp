#include "host/webview2_loader.h"

#include <array>
#include <memory>
#include <vector>

#include "base/product.h"
#include "base/runtime_version.h"
#include "base/text_codec.h"
#include "host/file_io.h"
#include "host/handles.h"
#include "host/system_library.h"
#include "host/text.h"

namespace wm::host {
namespace {

constexpr wchar_t kRuntimeDll[] = L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
constexpr wchar_t kClientStateKey[] = L"Software\\Microsoft\\EdgeUpdate\\ClientState\\";
// Stable, beta, dev, canary: the order in which the installed runtime is looked for.
constexpr std::array<const wchar_t*, 4> kChannels = {
    L"{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}",
    L"{2CD8A007-E189-409D-A2C8-9AF4EF3C72AA}",
    L"{0D50BFEC-CD6A-4F9A-964C-C7416E3ACB10}",
    L"{65C35B14-6C1D-4122-AC46-7148CC9D6497}",
};

using CreateInternal = HRESULT(STDMETHODCALLTYPE*)(bool check_running_instance, int runtime_type,
                                                   LPCWSTR user_data_folder, IUnknown* options,
                                                   ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

bool file_exists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring executable_folder() {
    const auto executable = executable_path();
    return executable ? parent_folder(*executable) : std::wstring();
}

std::optional<std::wstring> product_version(const std::wstring& file) {
    const auto info_size =
        system_function<decltype(&GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    const auto info = system_function<decltype(&GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    const auto query = system_function<decltype(&VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    if (!info_size || !info || !query) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = info_size(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<std::byte> data(size);
    if (!info(file.c_str(), 0, size, data.data())) return std::nullopt;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!query(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", reinterpret_cast<void**>(&value),
                        &length) ||
        length == 0)
        return std::nullopt;
    return std::wstring(value, wcsnlen(value, length));
}

// "C:\x", "\\server\x" and "\x" are anchored; anything else hangs off the executable's folder.
bool is_relative_path(const std::wstring& path) {
    const bool drive = path.size() >= 2 && path[1] == L':';
    const bool rooted = !path.empty() && (path[0] == L'\\' || path[0] == L'/');
    return !drive && !rooted;
}

bool version_qualifies(const std::optional<RuntimeVersion>& version) {
    return version && *version >= kMinimumRuntimeVersion;
}

// LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR takes a fully qualified path only: "..", a drive without its
// root ("C:x") and a root without its drive ("\x") are resolved first.
std::optional<std::wstring> full_path(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return std::nullopt;
    full.resize(length);
    return full;
}

std::optional<RuntimeLocation> explicit_runtime(std::wstring folder) {
    if (is_relative_path(folder)) folder = executable_folder() + L"\\" + folder;
    auto resolved = full_path(folder);
    if (!resolved) return std::nullopt;
    folder = std::move(*resolved);
    const std::wstring dll = folder + kRuntimeDll;
    if (!file_exists(dll)) return std::nullopt;
    auto version = product_version(dll);
    if (!version || !version_qualifies(parse_runtime_version(to_utf8(*version)))) return std::nullopt;
    return RuntimeLocation{std::move(folder), 1, std::move(*version)};
}

std::optional<std::wstring> registered_folder(HKEY root, const wchar_t* channel) {
    HKEY raw = nullptr;
    const std::wstring key = std::wstring(kClientStateKey) + channel;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &raw) != ERROR_SUCCESS) return std::nullopt;
    UniqueKey opened(raw);
    DWORD bytes = 0;
    if (RegGetValueW(raw, nullptr, L"EBWebView", RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(raw, nullptr, L"EBWebView", RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::optional<RuntimeLocation> installed_runtime() {
    auto folder = first_installed_runtime(
        kChannels.size(),
        [](std::size_t channel, RuntimeScope scope) {
            auto folder = registered_folder(scope == RuntimeScope::machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                                            kChannels[channel]);
            while (folder && !folder->empty() && (folder->back() == L'\\' || folder->back() == L'/')) folder->pop_back();
            return folder;
        },
        [](const std::wstring& folder) {
            return version_qualifies(version_of_runtime_folder(to_utf8(folder))) && file_exists(folder + kRuntimeDll);
        });
    if (!folder) return std::nullopt;
    std::wstring version = folder->substr(folder->find_last_of(L"\\/") + 1);
    return RuntimeLocation{std::move(*folder), 0, std::move(version)};
}

// A folder where the user can create a file, made when missing.
bool folder_is_writable(const std::wstring& folder) {
    if (!create_folders(folder)) return false;
    const std::wstring probe = folder + L"\\write-probe." + decimal_text(GetCurrentProcessId());
    // Deleted when closed, at once.
    return adopt_file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr)) != nullptr;
}

HRESULT start_creation(CreateInternal create, int runtime_type, const std::wstring& data_folder,
                       ICoreWebView2EnvironmentOptions* options, const std::shared_ptr<EnvironmentCompleted>& completed,
                       bool retry_on_failure) {
    auto handler = make_handler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [create, runtime_type, data_folder, options = ComPtr<ICoreWebView2EnvironmentOptions>(options), completed,
         retry_on_failure](HRESULT result, ICoreWebView2Environment* delivered) {
            if (FAILED(result) && retry_on_failure &&
                SUCCEEDED(start_creation(create, runtime_type, data_folder, options.get(), completed, false)))
                return;
            ComPtr<ICoreWebView2Environment> environment;
            if (SUCCEEDED(result) && delivered)
                environment = ComPtr<ICoreWebView2Environment>(delivered).query<ICoreWebView2Environment>();
            if (SUCCEEDED(result) && !environment) result = E_NOINTERFACE;
            (*completed)(result, std::move(environment));
        });
    if (!handler) return E_OUTOFMEMORY;
    return create(true, runtime_type, data_folder.empty() ? nullptr : data_folder.c_str(), options, handler.get());
}

}  // namespace

std::optional<RuntimeLocation> find_runtime() {
    if (auto folder = environment_variable(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER"))
        return explicit_runtime(std::move(*folder));
    return installed_runtime();
}

std::wstring page_data_folder() {
    const auto executable = executable_path();
    if (!executable || folder_is_writable(*executable + L".WebView2")) return {};
    const auto local = environment_variable(L"LOCALAPPDATA");
    if (!local) return {};
    std::wstring folder = *local + L"\\" + std::wstring(kProductNameW) + L"\\WebView2";
    // Made here with its parents, whatever the runtime would make of a missing one; a failure
    // shows as the runtime's.
    (void)create_folders(folder);
    return folder;
}

HRESULT create_environment(std::optional<RuntimeLocation> runtime, ICoreWebView2EnvironmentOptions* options,
                           const std::wstring& data_folder, EnvironmentCompleted completed) {
    if (!runtime) runtime = find_runtime();
    if (!runtime) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    const std::wstring dll = runtime->folder + kRuntimeDll;
    // Code inside the runtime loads its neighbours by name, which the process's search order
    // (System32 and the added folders only) must still find.
    (void)AddDllDirectory(parent_folder(dll).c_str());  // a failure shows as the load's below
    // The runtime's objects live in this module for as long as the process does: never unloaded.
    // Its own imports come from its folder or from System32, never from the executable's.
    const HMODULE module =
        LoadLibraryExW(dll.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    const auto create = reinterpret_cast<CreateInternal>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal")));
    if (!create) return HRESULT_FROM_WIN32(GetLastError());
    return start_creation(create, runtime->runtime_type, data_folder, options,
                          std::make_shared<EnvironmentCompleted>(std::move(completed)), true);
}

}  // namespace wm::host
