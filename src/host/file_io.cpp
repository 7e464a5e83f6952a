#include "host/file_io.h"

#include <windows.h>

#include <algorithm>
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

}  // namespace

std::optional<std::filesystem::path> executable_path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path);
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
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

bool write_file_whole(const std::filesystem::path& path, std::span<const std::byte> bytes) noexcept {
    const UniqueFile file = adopt_file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && write_all(file.get(), bytes);
}

bool write_file_replacing(const std::filesystem::path& path, std::span<const std::byte> bytes) noexcept {
    try {
        // Per process, so that two running shells never share a temporary file.
        std::filesystem::path temporary = path;
        temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
        {
            const UniqueFile file = adopt_file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) return false;
            if (!write_all(file.get(), bytes) || !FlushFileBuffers(file.get())) {
                (void)DeleteFileW(temporary.c_str());
                return false;
            }
        }
        if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        (void)DeleteFileW(temporary.c_str());
        return false;
    } catch (...) {
        return false;
    }
}

std::optional<std::string> read_file(const std::filesystem::path& path) {
    const UniqueFile file = adopt_file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                   FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                   nullptr));
    if (!file) return std::nullopt;
    std::string contents;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        contents.append(buffer, read);
    }
    return contents;
}

}  // namespace wm::host
