#include "driver/process.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "driver/text.h"

namespace e2e {
namespace {

std::runtime_error last_error(std::string_view what) {
    return std::runtime_error(std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

UniqueHandle open_output_file(const std::filesystem::path& path) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw last_error("creating " + narrow(path.native()));
    return file;
}

// A job that ends the process with its last handle, even when the driver itself is killed by
// the test runner's timeout.
UniqueHandle make_kill_on_close_job() {
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        job.reset();
    return job;
}

}  // namespace

Environment Environment::inherited() {
    Environment environment;
    const wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        const std::wstring_view text(entry);
        // Names of the hidden per-drive variables ("=C:") start with "=".
        const auto equals = text.find(L'=', 1);
        if (equals == std::wstring_view::npos) continue;
        environment.variables_.emplace(text.substr(0, equals), text.substr(equals + 1));
    }
    FreeEnvironmentStringsW(const_cast<wchar_t*>(strings));
    return environment;
}

bool Environment::NameLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
}

void Environment::set(const std::wstring& name, std::wstring value) {
    variables_[name] = std::move(value);
}

void Environment::remove(const std::wstring& name) { variables_.erase(name); }

std::wstring Environment::block() const {
    std::wstring block;
    for (const auto& [name, value] : variables_) {
        block += name;
        block += L'=';
        block += value;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

ChildProcess ChildProcess::start(const Options& options) {
    const UniqueHandle output = open_output_file(options.stdout_file);
    const UniqueHandle errors = open_output_file(options.stderr_file);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = errors.get();
    if (options.show_command) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = *options.show_command;
    }

    std::wstring command_line = L"\"" + options.executable.native() + L"\"";
    if (!options.arguments.empty()) command_line += L" " + options.arguments;
    std::wstring environment = options.environment.block();
    PROCESS_INFORMATION info{};
    // Wine occasionally fails to bring up a new process: its loader dies before the process
    // reports that it started, and CreateProcessW answers ERROR_INTERNAL_ERROR. That is the test
    // bench's failure, not the program's, so only that error is retried, a few times, out loud.
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(options.executable.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                           CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED, environment.data(),
                           options.working_directory.c_str(), &startup, &info))
            break;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kAttempts)
            throw last_error("starting " + narrow(options.executable.native()));
        std::fprintf(stderr, "Wine did not start %s (error 1359); retrying, attempt %d of %d\n",
                     narrow(options.executable.native()).c_str(), attempt + 1, kAttempts);
        Sleep(200);
    }

    UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    UniqueHandle job = make_kill_on_close_job();
    if (job && !AssignProcessToJobObject(job.get(), process.get())) job.reset();
    ResumeThread(thread.get());
    return ChildProcess(std::move(job), std::move(process), info.dwProcessId);
}

ChildProcess::~ChildProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> ChildProcess::wait_for_exit(std::chrono::milliseconds timeout) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) throw last_error("GetExitCodeProcess");
    return code;
}

}  // namespace e2e
