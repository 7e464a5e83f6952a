#include "driver/files.h"

#include <stdexcept>

#include "driver/handle.h"
#include "driver/text.h"

namespace e2e {
namespace {

// Opened for reading only, sharing everything, so that the shell can replace the file meanwhile.
UniqueHandle open_for_reading(const std::filesystem::path& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::filesystem::path repository_resource(std::string_view name) {
    return windows_path(WM_E2E_RESOURCES_DIR) / widen(name);
}

std::optional<std::string> read_file(const std::filesystem::path& path) {
    const UniqueHandle file = open_for_reading(path);
    if (!file) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    return content;
}

void write_file(const std::filesystem::path& path, std::string_view content) {
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size())
        throw std::runtime_error("writing " + narrow(path.native()) + " failed, error " +
                                 std::to_string(GetLastError()));
}

std::optional<std::uint64_t> file_identity(const std::filesystem::path& path) {
    const UniqueHandle file = open_for_reading(path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

std::set<std::filesystem::path> folder_listing(const std::filesystem::path& folder) {
    std::set<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        found.insert(entry.path().lexically_relative(folder));
    return found;
}

bool wait_for_content(const std::filesystem::path& path, std::string_view content, std::chrono::milliseconds timeout) {
    return poll_until(timeout, [&] { return read_file(path) == content; });
}

}  // namespace e2e
