#include "data_folder.h"

#include <cstdint>
#include <cwchar>

#include "text.h"

namespace standin {
namespace {

// Room for the options' text in the mapping, terminator included.
constexpr DWORD kHoldBytes = 8192;

std::wstring executable_path() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring full_path(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return full.empty() ? path : full;
}

bool is_folder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes the folder and its missing parents; the runtime then writes its own data inside.
bool make_folder(const std::wstring& folder) {
    for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
        (void)CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    (void)CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring data = folder + L"\\EBWebView";
    (void)CreateDirectoryW(data.c_str(), nullptr);
    return is_folder(folder) && is_folder(data);
}

// One name per folder, whatever its case: named objects cannot hold backslashes.
std::wstring hold_name(const std::wstring& folder) {
    std::wstring lower = folder;
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : lower) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    return L"Local\\standin-user-data-" + to_utf16(hex(hash));
}

}  // namespace

std::wstring DataFolder::resolve(LPCWSTR given) {
    const std::wstring executable = executable_path();
    if (!given || !*given) return executable + L".WebView2";
    const std::wstring folder(given);
    const bool anchored = (folder.size() >= 2 && folder[1] == L':') || folder.starts_with(L'\\');
    // A relative folder hangs off the executable's.
    if (anchored) return full_path(folder);
    return full_path(executable.substr(0, executable.find_last_of(L'\\') + 1) + folder);
}

HRESULT DataFolder::claim(const std::wstring& folder, const std::wstring& options,
                          std::shared_ptr<DataFolder>& claimed) {
    if (!make_folder(folder)) return E_ACCESSDENIED;
    UniqueHandle hold(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHoldBytes,
                                         hold_name(folder).c_str()));
    if (!hold.valid()) return HRESULT_FROM_WIN32(GetLastError());
    const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
    auto* text = static_cast<wchar_t*>(MapViewOfFile(hold.get(), FILE_MAP_WRITE, 0, 0, kHoldBytes));
    if (!text) return HRESULT_FROM_WIN32(GetLastError());
    const std::size_t room = kHoldBytes / sizeof(wchar_t) - 1;
    const std::wstring kept = options.substr(0, room);
    bool same = true;
    if (first)
        std::wmemcpy(text, kept.c_str(), kept.size() + 1);
    else
        same = kept == text;
    UnmapViewOfFile(text);
    if (!same) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    claimed = std::make_shared<DataFolder>(std::move(hold));
    return S_OK;
}

}  // namespace standin
