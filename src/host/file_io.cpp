#include "host/file_io.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "host/handles.h"

namespace wm::host {
namespace {

bool write_all(HANDLE file, std::span<const std::byte> bytes) noexcept {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

// Also drops what Windows drops from a name: trailing dots and spaces, "." and "..".
std::optional<std::wstring> full_path(std::wstring_view path) {
    const std::wstring given(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return std::nullopt;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // the size it needs, its terminator included
    }
}

}  // namespace

std::optional<FileIdentity> file_identity(HANDLE file) {
    FileIdentity identity;
    FILE_ID_INFO id{};
    // A file system without 128-bit identifiers answers zero.
    if (GetFileInformationByHandleEx(file, FileIdInfo, &id, sizeof id) &&
        std::ranges::any_of(id.FileId.Identifier, [](BYTE b) { return b != 0; })) {
        identity.volume = id.VolumeSerialNumber;
        std::memcpy(identity.id.data(), id.FileId.Identifier, identity.id.size());
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information)) return std::nullopt;
    identity.volume = information.dwVolumeSerialNumber;
    const std::uint64_t index = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    for (std::size_t at = 0; at < sizeof index; ++at) identity.id[at] = static_cast<std::uint8_t>(index >> (8 * at));
    return identity;
}

namespace {

// What a path opens, if anything.
struct Opened {
    enum class Found { file, absent, unknown } found = Found::unknown;
    FileIdentity identity;
};

Opened open_for_identity(const std::wstring& path) {
    // Its attributes only, sharing everything: finding out which file a name opens must stand in
    // nobody's way. A folder opens only with backup semantics.
    const UniqueFile file = adopt_file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        const bool absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {absent ? Opened::Found::absent : Opened::Found::unknown, {}};
    }
    const auto identity = file_identity(file.get());
    if (!identity) return {};
    return {Opened::Found::file, *identity};
}

bool equal_names(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

std::optional<FileIdentity> file_identity(const std::wstring& path) {
    const Opened opened = open_for_identity(path);
    if (opened.found != Opened::Found::file) return std::nullopt;
    return opened.identity;
}

bool same_file(std::wstring_view first, std::wstring_view second) {
    const auto a = full_path(first);
    const auto b = full_path(second);
    if (!a || !b) return true;
    using enum Opened::Found;
    const Opened file_a = open_for_identity(*a);
    const Opened file_b = open_for_identity(*b);
    if (file_a.found == unknown || file_b.found == unknown) return true;
    if (file_a.found == file && file_b.found == file) return file_a.identity == file_b.identity;
    if (file_a.found != file_b.found) return false;
    // Neither exists: the same name in the same folder, however the folder is spelled.
    const std::size_t end_a = a->find_last_of(L"\\/");
    const std::size_t end_b = b->find_last_of(L"\\/");
    if (end_a == std::wstring::npos || end_b == std::wstring::npos) return equal_names(*a, *b);
    if (!equal_names(std::wstring_view(*a).substr(end_a + 1), std::wstring_view(*b).substr(end_b + 1))) return false;
    const Opened folder_a = open_for_identity(a->substr(0, end_a + 1));
    const Opened folder_b = open_for_identity(b->substr(0, end_b + 1));
    if (folder_a.found == file && folder_b.found == file) return folder_a.identity == folder_b.identity;
    return equal_names(*a, *b);
}

std::optional<std::wstring> executable_path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
}

std::optional<std::wstring> environment_variable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size <= 1) return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    if (value.empty()) return std::nullopt;
    return value;
}

std::wstring parent_folder(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

bool create_folders(const std::wstring& folder) noexcept {
    try {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring parent = parent_folder(folder);
        // Stops at a drive ("C:") or share root, which exists or cannot be made.
        if (!parent.empty() && parent != folder && parent.back() != L':') (void)create_folders(parent);
        return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    } catch (...) {
        return false;
    }
}

std::span<const std::byte> resource_bytes(int id) noexcept {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::byte*>(data), SizeofResource(module, found)};
}

bool write_file_replacing(const std::wstring& path, const std::wstring& temporary,
                          std::span<const std::byte> bytes) noexcept {
    // No flush and no write-through: the rename alone keeps the file whole when the process dies,
    // and forcing every saved placement of a window drag to the disk would stall the page.
    {
        const UniqueFile file = adopt_file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        if (!write_all(file.get(), bytes)) {
            (void)DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    (void)DeleteFileW(temporary.c_str());
    return false;
}

std::optional<std::string> read_file(const std::wstring& path, const std::function<bool(const FileFacts&)>& accept) {
    const UniqueFile file = adopt_file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                   FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                   nullptr));
    if (!file) return std::nullopt;
    // Judged before the first read: a pipe's or a device's read may never return.
    FileFacts facts;
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.get()) == FILE_TYPE_DISK && GetFileInformationByHandle(file.get(), &information)) {
        facts.plain_disk_file = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        facts.size = (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    }
    if (!accept(facts)) return std::nullopt;
    std::string contents;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        contents.append(buffer, read);
        if (contents.size() > facts.size) return std::nullopt;
    }
    return contents;
}

}  // namespace wm::host
