// The benchmark driver: measures the shell against the floor programs under Wine with the
// stand-in runtime and writes the results table as Markdown.
//   bench_driver.exe REPORT_FILE [--quick]
// --quick makes every measurement small, to check that the whole run works; its figures mean
// little. Progress goes to the standard error stream.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <string>

#include "driver/measures.h"
#include "driver/text.h"

namespace {

struct Plan {
    int state_rounds;
    int state_moves;
    int startup_runs;
    int memory_runs;
    int dispatch_rounds;
    long long messages;
};

constexpr Plan kFull{11, 1000, 20, 5, 7, 100000};
constexpr Plan kQuick{2, 100, 2, 1, 1, 10000};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: bench_driver.exe REPORT_FILE [--quick]\n", stderr);
        return 2;
    }
    const std::filesystem::path report_file = argv[1];
    const Plan plan = argc > 2 && std::wstring(argv[2]) == L"--quick" ? kQuick : kFull;

    const auto folder = e2e::windows_path(WM_BENCH_WORK_DIR);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / L"appdata");
    std::filesystem::copy_file(e2e::windows_path(WM_BENCH_SHELL_EXE), folder / L"wispermoth.exe");
    const bench::Paths paths{folder / L"wispermoth.exe", e2e::windows_path(WM_BENCH_STANDIN_RUNTIME),
                             e2e::windows_path(WM_BENCH_FLOOR_PROBE_EXE), folder,
                             e2e::windows_path(WM_BENCH_STARTUP_STEPS_EXE),
                             e2e::windows_path(WM_BENCH_WEBVIEW_FLOOR_EXE)};

    bench::Report report;
    int status = 0;
    auto section = [&](const char* name, const std::function<void()>& measure) {
        std::fprintf(stderr, "== %s\n", name);
        try {
            measure();
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "%s failed: %s\n", name, failure.what());
            report.note(std::string(name) + ": not measured: " + failure.what() + ".");
            status = 1;
        }
    };
    section("size", [&] {
        bench::measure_size({paths.shell, e2e::windows_path(WM_BENCH_FLOOR_EXE), e2e::windows_path(WM_BENCH_CPP_FLOOR_EXE)},
                            report);
    });
    section("state writes",
            [&] { bench::measure_state_writes(folder / L"state", plan.state_rounds, plan.state_moves, report); });
    section("start-up", [&] { bench::measure_startup(paths, plan.startup_runs, report); });
    section("start-up steps", [&] { bench::measure_startup_steps(paths, plan.startup_runs, report); });
    section("further window", [&] { bench::measure_further_window(paths, plan.memory_runs, report); });
    section("memory", [&] { bench::measure_memory(paths, plan.memory_runs, report); });
    section("dispatch", [&] { bench::measure_dispatch(paths, plan.dispatch_rounds, plan.messages, report); });
    section("idle and windows", [&] { bench::measure_session(paths, report); });
    section("toasts", [&] { bench::measure_toasts(paths, plan.memory_runs, report); });

    std::ofstream(report_file, std::ios::binary) << report.markdown();
    return status;
}
