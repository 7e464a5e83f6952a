#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <chrono>
#include <cwchar>
#include <string>
#include <string_view>

#include "base/product.h"
#include "host/file_io.h"
#include "host/handles.h"
#include "update/signature_win.h"
#include "update/update_files_win.h"

namespace wm {
namespace {

FileError last_error_unless(bool succeeded) {
    return succeeded ? 0 : GetLastError();
}

using UniqueEnvironmentStrings = host::UniqueHandleOf<LPWCH, &FreeEnvironmentStringsW>;

// A new build gets this long to build its first window: under a loaded machine's antivirus scan
// that can take several seconds, and a slow start must not undo a good update.
constexpr std::chrono::seconds kNewBuildProofTime{20};

// Ending takes a predecessor a moment; one that hangs leaves its file for the next start.
constexpr std::chrono::seconds kPredecessorEndTime{10};

DWORD parent_process_id() {
    const host::UniqueFile snapshot = host::adopt_file(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == GetCurrentProcessId()) return entry.th32ParentProcessID;
    return 0;
}

class Win32FileOps final : public FileOps {
public:
    // Clean-up starts nothing and needs no loop; an update pumps the loop's messages while it
    // waits for the new build.
    Win32FileOps() = default;
    explicit Win32FileOps(host::EventLoop& loop) : loop_(&loop) {}

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

    Signature read_signature(const std::wstring& path) override { return wm::read_signature(path); }

    FileError rename_replacing(const std::wstring& from, const std::wstring& to) override {
        return last_error_unless(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE);
    }

    FileError start_process(const std::wstring& path) override {
        // A fresh name, so that no other process's event can stand in for the new build's.
        const std::wstring event_name = L"Local\\" + std::wstring(kProductNameW) + L".update-ready." +
                                        std::to_wstring(GetCurrentProcessId()) + L"." +
                                        std::to_wstring(GetTickCount64());
        ready_.reset(CreateEventW(nullptr, TRUE, FALSE, event_name.c_str()));
        if (!ready_) return GetLastError();
        if (GetLastError() == ERROR_ALREADY_EXISTS) return ERROR_ALREADY_EXISTS;

        // The program's own name is the whole command line: no arguments.
        std::wstring command_line = L"\"" + path + L"\"";
        std::wstring environment = environment_with(kUpdateReadyEventVariable, event_name);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            environment.data(), nullptr, &startup, &started))
            return GetLastError();
        process_.reset(started.hProcess);
        const host::UniqueKernelHandle thread(started.hThread);
        return 0;
    }

    NewBuildReport wait_for_new_build() override {
        // The event first: a build that signals and then ends has come up.
        const HANDLE objects[] = {ready_.get(), process_.get()};
        const auto signalled = loop_->run_until_signalled(objects, kNewBuildProofTime);
        if (!signalled) return NewBuildReport::silent;
        return *signalled == 0 ? NewBuildReport::ready : NewBuildReport::ended;
    }

private:
    // This process's environment with one variable set, as a block for CreateProcessW.
    static std::wstring environment_with(std::wstring_view name, std::wstring_view value) {
        std::wstring block;
        const UniqueEnvironmentStrings strings(GetEnvironmentStringsW());
        if (strings) {
            for (const wchar_t* entry = strings.get(); *entry; entry += std::wcslen(entry) + 1)
                block.append(entry).push_back(L'\0');
        }
        // This process took its own copy of the name out of its environment at start.
        block.append(name).append(L"=").append(value).push_back(L'\0');
        block.push_back(L'\0');
        return block;
    }

    host::EventLoop* loop_ = nullptr;
    host::UniqueKernelHandle ready_;
    host::UniqueKernelHandle process_;
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

UpdateOutcome apply_update(host::EventLoop& loop) {
    Win32FileOps files(loop);
    return apply_update(files, update_paths());
}

UpdateStart take_update_start() {
    const std::wstring name(kUpdateReadyEventVariable);
    std::wstring value(MAX_PATH, L'\0');
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return {};
    value.resize(length);
    (void)SetEnvironmentVariableW(name.c_str(), nullptr);
    UpdateStart start;
    start.ready.reset(OpenEventW(EVENT_MODIFY_STATE, FALSE, value.c_str()));
    // Opened while the predecessor still waits, so that its process identifier is not yet reused.
    if (start.ready) start.predecessor.reset(OpenProcess(SYNCHRONIZE, FALSE, parent_process_id()));
    return start;
}

void report_update_ready(const UpdateStart& start, host::EventLoop& loop) {
    (void)SetEvent(start.ready.get());  // the predecessor ends on this
    // Its executable, now the previous one, cannot be deleted while it runs.
    if (start.predecessor) {
        const HANDLE predecessor[] = {start.predecessor.get()};
        (void)loop.run_until_signalled(predecessor, kPredecessorEndTime);
    }
    clean_update_files();
}

}  // namespace wm
