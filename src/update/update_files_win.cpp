#include <windows.h>

#include "host/file_io.h"
#include "host/handles.h"
#include "update/update_files.h"

namespace wm {
namespace {

FileError last_error_unless(bool succeeded) {
    return succeeded ? 0 : GetLastError();
}

class Win32FileOps final : public FileOps {
public:
    bool remove_file(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }

    FileError read_attributes(const std::wstring& path) override {
        return last_error_unless(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    }

    FileError read_head(const std::wstring& path, std::size_t size, std::vector<std::byte>& head) override {
        // Shares everything: reading must not be what makes a later rename fail.
        const host::UniqueFile file = host::adopt_file(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return GetLastError();
        head.resize(size);
        DWORD read = 0;
        if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(size), &read, nullptr)) return GetLastError();
        head.resize(read);
        return 0;
    }

    FileError rename_replacing(const std::wstring& from, const std::wstring& to) override {
        return last_error_unless(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE);
    }

    FileError start_process(const std::wstring& path) override {
        // The program's own name is the whole command line: no arguments.
        std::wstring command_line = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started))
            return GetLastError();
        // Not waited for: the shell ends while the new one starts.
        const host::UniqueKernelHandle process(started.hProcess);
        const host::UniqueKernelHandle thread(started.hThread);
        return 0;
    }
};

}  // namespace

std::optional<UpdatePaths> update_paths() {
    const auto executable = host::executable_path();
    if (!executable) return std::nullopt;
    return update_paths_for(*executable);
}

void clean_update_files() {
    Win32FileOps files;
    clean_update_files(files, update_paths());
}

UpdateOutcome apply_update() {
    Win32FileOps files;
    return apply_update(files, update_paths());
}

}  // namespace wm
