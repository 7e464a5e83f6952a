#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/product.h"
#include "base/release.h"
#include "base/text_codec.h"
#include "host/file_io.h"
#include "host/handles.h"
#include "update/signature_win.h"
#include "update/update_files_win.h"

namespace wm {
namespace {

FileError last_error_unless(bool succeeded) {
    return succeeded ? 0 : GetLastError();
}

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

FileError identity_of(HANDLE file, FileIdentity& identity) {
    const auto found = host::file_identity(file);
    if (!found) return GetLastError();
    identity = *found;
    return 0;
}

// Far more than any build of this program: a larger file is no update, and is not read.
constexpr std::uint64_t kProgramSizeLimit = 64ull << 20;

class Win32OpenFile final : public OpenFile {
public:
    Win32OpenFile(std::wstring path, host::UniqueFile file) : path_(std::move(path)), file_(std::move(file)) {}

    FileError read_facts(ProgramFacts& facts) override {
        facts = {};
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_.get(), &size)) return GetLastError();
        // A pipe or a device may block a read, and is no program anyway.
        if (GetFileType(file_.get()) != FILE_TYPE_DISK || static_cast<std::uint64_t>(size.QuadPart) > kProgramSizeLimit)
            return 0;
        std::vector<std::byte> image(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (done < image.size()) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(done);
            DWORD read = 0;
            if (!ReadFile(file_.get(), image.data() + done, static_cast<DWORD>(image.size() - done), &read, &at))
                return GetLastError();
            if (read == 0) break;  // shorter than its size said: judged as read
            done += read;
        }
        image.resize(done);
        facts = program_facts(image);
        return 0;
    }

    FileError identity(FileIdentity& identity) override { return identity_of(file_.get(), identity); }

    Signature signature() override {
        // The verification reads through the same handle, from wherever it needs.
        const LARGE_INTEGER start{};
        (void)SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN);
        return read_signature(path_, file_.get());
    }

    FileError rename(const std::wstring& to, bool replace) override {
        const std::size_t name_bytes = to.size() * sizeof(wchar_t);
        // The structure ends in the name; its terminating NUL is not counted in its length.
        std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
        auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        info->ReplaceIfExists = replace ? TRUE : FALSE;
        info->RootDirectory = nullptr;
        info->FileNameLength = static_cast<DWORD>(name_bytes);
        std::memcpy(info->FileName, to.c_str(), name_bytes + sizeof(wchar_t));
        if (!SetFileInformationByHandle(file_.get(), FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
            return GetLastError();
        path_ = to;
        return 0;
    }

private:
    std::wstring path_;
    host::UniqueFile file_;
};

class Win32FileOps final : public FileOps {
public:
    // Clean-up starts nothing and needs no loop; an update pumps the loop's messages while it
    // waits for the new build.
    Win32FileOps() = default;
    Win32FileOps(host::EventLoop& loop, std::function<void()> before_start)
        : loop_(&loop), before_start_(std::move(before_start)) {}

    bool remove_file(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }

    FileError clear_read_only(const std::wstring& path) override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError();
        if (!(attributes & FILE_ATTRIBUTE_READONLY)) return 0;
        return last_error_unless(SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE);
    }

    std::vector<std::wstring> list_files(const std::wstring& pattern) override {
        std::vector<std::wstring> found;
        const std::wstring folder = pattern.substr(0, pattern.find_last_of(L'\\') + 1);
        WIN32_FIND_DATAW entry{};
        const host::UniqueSearch search = host::adopt_search(
            FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
        if (!search) return found;
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(folder + entry.cFileName);
        } while (FindNextFileW(search.get(), &entry));
        return found;
    }

    FileError remove_download_mark(const std::wstring& path) override {
        // The stream only: the file's own data stay as they are.
        return last_error_unless(DeleteFileW((path + L":Zone.Identifier").c_str()) != FALSE);
    }

    void pause(std::chrono::milliseconds time) override {
        if (loop_) (void)loop_->run_until_signalled({}, time);
    }

    FileError open(const std::wstring& path, FileLock lock, std::unique_ptr<OpenFile>& file) override {
        // The staged file: renamed through this handle (which needs DELETE), and neither written,
        // deleted nor renamed by anyone else until it is closed. The running program: reading
        // it must not be what makes its rename fail.
        const bool exclusive = lock == FileLock::exclusive;
        host::UniqueFile handle = host::adopt_file(
            CreateFileW(path.c_str(), exclusive ? GENERIC_READ | DELETE : GENERIC_READ,
                        exclusive ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) return GetLastError();
        file = std::make_unique<Win32OpenFile>(path, std::move(handle));
        return 0;
    }

    FileError rename(const std::wstring& from, const std::wstring& to, bool replace) override {
        return last_error_unless(MoveFileExW(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) !=
                                 FALSE);
    }

    FileError start_process(const std::wstring& path) override {
        // A fresh name, so that no other process's event can stand in for the new build's.
        const std::wstring event_name = L"Local\\" + std::wstring(kProductNameW) + L".update-ready." +
                                        decimal_text(GetCurrentProcessId()) + L"." +
                                        decimal_text(GetTickCount64());
        ready_.reset(CreateEventW(nullptr, TRUE, FALSE, event_name.c_str()));
        if (!ready_) return GetLastError();
        if (GetLastError() == ERROR_ALREADY_EXISTS) return ERROR_ALREADY_EXISTS;

        // The program's own name is the whole command line: no arguments.
        std::wstring command_line = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        // Set in this process's own environment for the one start, which the new build inherits,
        // and cleared at once: the system keeps the block sorted and each name once.
        const std::wstring variable(kUpdateReadyEventVariable);
        if (!SetEnvironmentVariableW(variable.c_str(), event_name.c_str())) return GetLastError();
        // Suspended until `before_start` has run: a file that does not start costs nothing.
        const bool created = CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                                            CREATE_SUSPENDED, nullptr, nullptr, &startup, &started) != FALSE;
        const FileError error = last_error_unless(created);
        (void)SetEnvironmentVariableW(variable.c_str(), nullptr);
        if (!created) return error;
        process_.reset(started.hProcess);
        const host::UniqueKernelHandle thread(started.hThread);
        if (before_start_) before_start_();
        if (ResumeThread(thread.get()) != static_cast<DWORD>(-1)) return 0;
        const FileError resume_error = GetLastError();
        (void)TerminateProcess(process_.get(), 1);
        return resume_error;
    }

    NewBuildReport wait_for_new_build() override {
        // The event first: a build that signals and then ends has come up.
        const HANDLE objects[] = {ready_.get(), process_.get()};
        const auto signalled = loop_->run_until_signalled(objects, kNewBuildProofTime);
        if (!signalled) return NewBuildReport::silent;
        return *signalled == 0 ? NewBuildReport::ready : NewBuildReport::ended;
    }

private:
    host::EventLoop* loop_ = nullptr;
    std::function<void()> before_start_;
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

UpdateOutcome apply_update(host::EventLoop& loop, const FileIdentity& downloaded, std::function<void()> before_start) {
    Win32FileOps files(loop, std::move(before_start));
    return apply_update(files, update_paths(), {WM_VERSION_MAJOR, WM_VERSION_MINOR, WM_VERSION_PATCH, 0}, downloaded);
}

UpdateStart take_update_start() {
    const std::wstring name(kUpdateReadyEventVariable);
    std::wstring value(MAX_PATH, L'\0');
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    // Gone whatever it holds, so that no later child sees it. A value too long for an event's
    // name (which is at most MAX_PATH characters) names none.
    (void)SetEnvironmentVariableW(name.c_str(), nullptr);
    if (length == 0 || length >= value.size()) return {};
    value.resize(length);
    UpdateStart start;
    start.ready.reset(OpenEventW(EVENT_MODIFY_STATE, FALSE, value.c_str()));
    // Opened while the predecessor still waits, so that its process identifier is not yet reused.
    if (start.ready) start.predecessor.reset(OpenProcess(SYNCHRONIZE, FALSE, parent_process_id()));
    return start;
}

void report_update_ready(UpdateStart& start, host::EventLoop& loop) {
    if (!start.ready) return;
    (void)SetEvent(start.ready.get());  // the predecessor ends on this
    start.ready.reset();
    // Its executable, now the previous one, cannot be deleted while it runs.
    if (start.predecessor) {
        const HANDLE predecessor[] = {start.predecessor.get()};
        (void)loop.run_until_signalled(predecessor, kPredecessorEndTime);
    }
    clean_update_files();
}

}  // namespace wm
