#include "driver/processes.h"

#include <psapi.h>

#include <stdexcept>

#include "driver/clock.h"
#include "driver/files.h"
#include "driver/standin.h"

namespace bench {
namespace {

// Variables of the driver's own environment that would change what the started shell does.
constexpr const wchar_t* kInheritedVariables[] = {
    L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", L"WEBVIEW2_USER_DATA_FOLDER", L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE",
    L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", L"STANDIN_LOG", L"STANDIN_FAIL_ENVIRONMENT",
    L"STANDIN_FAIL_CONTROLLER", L"STANDIN_HOLD_CONTROLLER", L"STANDIN_NO_MESSAGE_WATCH", standin::kCountersVariable,
    kFloorVariable, L"TOAST_STANDIN_LOG",
};

std::wstring block_name(const std::wstring& tag) {
    return L"Local\\wispermoth-bench-" + std::to_wstring(GetCurrentProcessId()) + L"-" + tag;
}

std::unique_ptr<Started> start(const std::filesystem::path& executable, const Paths& paths,
                               const std::wstring& tag, e2e::Environment environment) {
    e2e::ChildProcess::Options options{.executable = executable,
                                       .working_directory = paths.folder,
                                       .environment = std::move(environment),
                                       .stdout_file = paths.folder / (tag + L".stdout.txt"),
                                       .stderr_file = paths.folder / (tag + L".stderr.txt")};
    const std::int64_t before = ticks();
    return std::make_unique<Started>(e2e::ChildProcess::start(options), before);
}

e2e::Environment clean_environment() {
    auto environment = e2e::Environment::inherited();
    for (const wchar_t* name : kInheritedVariables) environment.remove(name);
    return environment;
}

double mebibytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

double filetime_ms(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

}  // namespace

Usage usage_of(HANDLE process) {
    Usage usage;
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(process, &created, &ended, &kernel, &user))
        usage.cpu_ms = filetime_ms(kernel) + filetime_ms(user);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        usage.working_set_mib = mebibytes(memory.WorkingSetSize);
        usage.peak_working_set_mib = mebibytes(memory.PeakWorkingSetSize);
    }
    return usage;
}

Started::Started(e2e::ChildProcess child, std::int64_t started_at)
    : child_(std::move(child)),
      query_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, child_.id())),
      started_at_(started_at) {
    if (!query_) throw std::runtime_error("OpenProcess failed, error " + std::to_string(GetLastError()));
}

std::optional<std::int64_t> Started::wait_for_end(std::chrono::milliseconds timeout) const {
    if (WaitForSingleObject(query_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    const std::int64_t ended = ticks();
    DWORD code = 1;
    if (!GetExitCodeProcess(query_.get(), &code) || code != 0) return std::nullopt;
    return ended;
}

Shell::Shell(const Paths& paths, const std::wstring& tag, Watch watch,
             const std::vector<std::pair<std::wstring, std::wstring>>& variables,
             const std::filesystem::path& executable)
    : counters_(block_name(tag), standin::kCountersEventSuffix) {
    auto environment = clean_environment();
    for (const auto& [name, value] : variables) environment.set(name, value);
    if (watch == Watch::off) environment.set(L"STANDIN_NO_MESSAGE_WATCH", L"1");
    environment.set(L"APPDATA", (paths.folder / L"appdata").native());
    environment.set(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", paths.standin_runtime.native());
    environment.set(standin::kCountersVariable, counters_.name());
    process_ = start(executable.empty() ? paths.shell : executable, paths, tag, std::move(environment));
}

bool Shell::wait_for_navigate() const {
    return counters_.wait_until([&] { return counters_->navigated_at != 0; }, kStartTimeout);
}

bool Shell::post(std::string_view message, HWND page) const {
    return e2e::send_command(page ? page : this->page(), e2e::StandinCommand::post_message, message);
}

bool Shell::post_joined(std::string_view joined) const {
    return e2e::send_command(page(), e2e::StandinCommand::post_messages, joined);
}

std::int64_t Shell::expect_scripts(std::int64_t count) const {
    const std::int64_t target = counters_->scripts + count;
    counters_->script_target = target;
    return target;
}

bool Shell::wait_for_scripts(std::int64_t target, std::chrono::milliseconds timeout) const {
    return counters_.wait_until([&] { return counters_->scripts >= target; }, timeout);
}

bool Shell::settle() const {
    const std::int64_t target = expect_scripts(1);
    return post("saved:settle") && wait_for_scripts(target, kStartTimeout);
}

std::string run_startup_steps(const Paths& paths, const std::wstring& tag) {
    auto environment = clean_environment();
    environment.set(L"STANDIN_NO_MESSAGE_WATCH", L"1");
    environment.set(L"APPDATA", (paths.folder / L"appdata").native());
    environment.set(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", paths.standin_runtime.native());
    // Read at the program's entry: its first step is its own process start.
    environment.set(L"WM_BENCH_CREATED_AT", std::to_wstring(ticks()));
    const auto started = start(paths.startup_steps, paths, tag, std::move(environment));
    if (!started->wait_for_end()) throw std::runtime_error("the start-up steps program failed");
    const auto output = e2e::read_file(paths.folder / (tag + L".stdout.txt"));
    if (!output || output->empty()) throw std::runtime_error("the start-up steps program wrote nothing");
    return *output;
}

Floor::Floor(const Paths& paths, const std::wstring& tag) : block_(block_name(tag), kFloorEventSuffix) {
    auto environment = clean_environment();
    environment.set(kFloorVariable, block_.name());
    process_ = start(paths.floor, paths, tag, std::move(environment));
}

bool Floor::wait_for_shown() const {
    return block_.wait_until([&] { return block_->shown_at != 0; }, kStartTimeout);
}

bool Floor::add(long long count) const {
    const std::string text = std::to_string(count);
    COPYDATASTRUCT data{};
    data.cbData = static_cast<DWORD>(text.size());
    data.lpData = const_cast<char*>(text.data());
    DWORD_PTR accepted = FALSE;
    return SendMessageTimeoutW(window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                               &accepted) &&
           accepted == TRUE;
}

std::int64_t Floor::expect_handled(std::int64_t count) const {
    const std::int64_t target = block_->handled + count;
    block_->handled_target = target;
    return target;
}

bool Floor::wait_for_handled(std::int64_t target, std::chrono::milliseconds timeout) const {
    return block_.wait_until([&] { return block_->handled >= target; }, timeout);
}

bool Floor::settle() const {
    const std::int64_t target = expect_handled(1);
    return add(1) && wait_for_handled(target, kStartTimeout);
}

}  // namespace bench
