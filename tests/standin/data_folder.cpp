#include "data_folder.h"

#include <cstdint>
#include <cwchar>
#include <optional>

#include "text.h"

namespace standin {
namespace {

// Room for the holder's process id and the options' text in the mapping, terminator included.
constexpr DWORD kHoldBytes = 8192;
// How long a browser outlives the process that started it.
constexpr ULONGLONG kBrowserEnding = 2000 * 10000;  // in 100 ns units

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

ULONGLONG now() {
    FILETIME time{};
    GetSystemTimeAsFileTime(&time);
    return ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart;
}

// Where a browser's end is noted: the time its host process ended.
std::wstring ended_note(const std::wstring& folder) { return folder + L"\\EBWebView\\standin-browser-ended"; }

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

HRESULT DataFolder::make(const std::wstring& folder, const std::wstring& options, std::shared_ptr<DataFolder>& made) {
    if (!make_folder(folder)) return E_ACCESSDENIED;
    made = std::make_shared<DataFolder>(folder, options);
    return S_OK;
}

std::optional<ULONGLONG> DataFolder::holder_ended() const {
    FILETIME exited{}, ignored{};
    if (!holder_.valid() || WaitForSingleObject(holder_.get(), 0) != WAIT_OBJECT_0 ||
        !GetProcessTimes(holder_.get(), &ignored, &exited, &ignored, &ignored))
        return std::nullopt;
    return ULARGE_INTEGER{{exited.dwLowDateTime, exited.dwHighDateTime}}.QuadPart;
}

DataFolder::~DataFolder() {
    const auto ended = holder_ended();
    const UniqueHandle note(ended ? CreateFileW(ended_note(folder_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr)
                                  : INVALID_HANDLE_VALUE);
    DWORD written = 0;
    if (note.valid()) (void)WriteFile(note.get(), &*ended, sizeof *ended, &written, nullptr);
}

HRESULT DataFolder::claim() {
    constexpr HRESULT held = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    if (hold_.valid()) return S_OK;
    // A holder's browser still ending, as seen here or noted by an environment released earlier.
    ULONGLONG ended = holder_ended().value_or(0);
    const UniqueHandle note(CreateFileW(ended_note(folder_).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD read = 0;
    if (!ended && note.valid()) (void)ReadFile(note.get(), &ended, sizeof ended, &read, nullptr);
    if (now() < ended + kBrowserEnding) return held;

    UniqueHandle hold(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHoldBytes,
                                         hold_name(folder_).c_str()));
    if (!hold.valid()) return HRESULT_FROM_WIN32(GetLastError());
    const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
    auto* view = static_cast<DWORD*>(MapViewOfFile(hold.get(), FILE_MAP_WRITE, 0, 0, kHoldBytes));
    if (!view) return HRESULT_FROM_WIN32(GetLastError());
    auto* text = reinterpret_cast<wchar_t*>(view + 1);
    const std::size_t room = (kHoldBytes - sizeof(DWORD)) / sizeof(wchar_t) - 1;
    const std::wstring kept = options_.substr(0, room);
    bool same = true;
    if (first) {
        *view = GetCurrentProcessId();
        std::wmemcpy(text, kept.c_str(), kept.size() + 1);
    } else {
        same = kept == text;
    }
    const DWORD holder = *view;
    UnmapViewOfFile(view);
    if (!same) {
        if (!holder_.valid()) holder_ = UniqueHandle(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, holder));
        return held;
    }
    hold_ = std::move(hold);
    return S_OK;
}

}  // namespace standin
