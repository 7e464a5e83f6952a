// Start-up and the footprint after it: the shell from its creation to its Navigate call (as the
// stand-in sees it) and to its end after the page's "close", against the floor from its creation
// to its window shown and to its end after WM_CLOSE; runs interleaved, the order alternating.

#include <cstdio>
#include <sstream>
#include <string>
#include <stdexcept>
#include <vector>

#include "driver/clock.h"
#include "driver/measures.h"
#include "driver/stats.h"

namespace bench {
namespace {

struct Timings {
    double ready_ms = 0;  // to Navigate, or to the window shown
    double whole_ms = 0;  // to the end of the process
};

Timings run_shell(const Paths& paths, const std::wstring& tag, const std::filesystem::path& executable = {}) {
    const Shell shell(paths, tag, Shell::Watch::off, {}, executable);
    if (!shell.wait_for_navigate()) throw std::runtime_error("the shell did not navigate");
    if (!shell.post("close")) throw std::runtime_error("the shell's page refused \"close\"");
    const auto ended = shell.process().wait_for_end();
    if (!ended) throw std::runtime_error("the shell did not end with 0 after \"close\"");
    const auto started = shell.process().started_at();
    return {milliseconds(shell.navigated_at() - started), milliseconds(*ended - started)};
}

Timings run_floor(const Paths& paths, const std::wstring& tag) {
    const Floor floor(paths, tag);
    if (!floor.wait_for_shown()) throw std::runtime_error("the floor did not show its window");
    if (!floor.close()) throw std::runtime_error("WM_CLOSE could not be posted to the floor");
    const auto ended = floor.process().wait_for_end();
    if (!ended) throw std::runtime_error("the floor did not end with 0");
    const auto started = floor.process().started_at();
    return {milliseconds(floor.shown_at() - started), milliseconds(*ended - started)};
}

Usage shell_footprint(const Paths& paths, const std::wstring& tag) {
    const Shell shell(paths, tag);
    if (!shell.wait_for_navigate() || !shell.settle()) throw std::runtime_error("the shell did not get ready");
    const Usage usage = shell.process().usage();
    if (!shell.post("close") || !shell.process().wait_for_end()) throw std::runtime_error("the shell did not end");
    return usage;
}

Usage floor_footprint(const Paths& paths, const std::wstring& tag) {
    const Floor floor(paths, tag);
    if (!floor.wait_for_shown() || !floor.settle()) throw std::runtime_error("the floor did not get ready");
    const Usage usage = floor.process().usage();
    if (!floor.close() || !floor.process().wait_for_end()) throw std::runtime_error("the floor did not end");
    return usage;
}

}  // namespace

void measure_startup(const Paths& paths, int runs, Report& report) {
    // One pair first, not counted: the first start of each program fills the caches.
    (void)run_shell(paths, L"startup-warm-shell");
    (void)run_floor(paths, L"startup-warm-floor");
    (void)run_shell(paths, L"startup-warm-webview", paths.webview_floor);

    std::vector<double> shell_ready, floor_ready, ready_ratio, shell_whole, floor_whole, whole_ratio;
    std::vector<double> webview_ready, webview_whole, webview_ready_ratio, webview_whole_ratio;
    for (int run = 0; run < runs; ++run) {
        const std::wstring n = std::to_wstring(run);
        Timings shell, floor, webview;
        if (run % 2 == 0) {
            shell = run_shell(paths, L"startup-shell-" + n);
            floor = run_floor(paths, L"startup-floor-" + n);
            webview = run_shell(paths, L"startup-webview-" + n, paths.webview_floor);
        } else {
            webview = run_shell(paths, L"startup-webview-" + n, paths.webview_floor);
            floor = run_floor(paths, L"startup-floor-" + n);
            shell = run_shell(paths, L"startup-shell-" + n);
        }
        webview_ready.push_back(webview.ready_ms);
        webview_whole.push_back(webview.whole_ms);
        webview_ready_ratio.push_back(shell.ready_ms / webview.ready_ms);
        webview_whole_ratio.push_back(shell.whole_ms / webview.whole_ms);
        shell_ready.push_back(shell.ready_ms);
        floor_ready.push_back(floor.ready_ms);
        ready_ratio.push_back(shell.ready_ms / floor.ready_ms);
        shell_whole.push_back(shell.whole_ms);
        floor_whole.push_back(floor.whole_ms);
        whole_ratio.push_back(shell.whole_ms / floor.whole_ms);
        std::fprintf(stderr, "start-up run %d: shell %.1f / %.1f ms, floor %.1f / %.1f ms\n", run + 1, shell.ready_ms,
                     shell.whole_ms, floor.ready_ms, floor.whole_ms);
    }
    const Spread ready = spread(ready_ratio);
    const Spread whole = spread(whole_ratio);
    report.add({"2 start-up: creation → Navigate (shell) / window shown (floor), ms", format(spread(shell_ready), 1),
                format(spread(floor_ready), 1), format(ready, 2), "≤ 1.15", verdict(ready.median <= 1.15)});
    report.add({"2 whole run: creation → process end after \"close\" / WM_CLOSE, ms", format(spread(shell_whole), 1),
                format(spread(floor_whole), 1), format(whole, 2), "≤ 1.2", verdict(whole.median <= 1.2)});
    const Spread webview_ready_spread = spread(webview_ready_ratio);
    const Spread webview_whole_spread = spread(webview_whole_ratio);
    report.add({"2 start-up: creation → Navigate, shell / least web-view host, ms", format(spread(shell_ready), 1),
                format(spread(webview_ready), 1), format(webview_ready_spread, 2), "—", ""});
    report.add({"2 whole run: creation → process end after \"close\", shell / least web-view host, ms",
                format(spread(shell_whole), 1), format(spread(webview_whole), 1), format(webview_whole_spread, 2),
                "≤ 1.05", verdict(webview_whole_spread.median <= 1.05)});
    report.note("Start-up: " + std::to_string(runs) + " interleaved pairs after one uncounted pair, the order "
                "alternating; times run from the driver's tick just before CreateProcessW to the tick the stand-in "
                "takes inside Navigate (the floor: after ShowWindow and UpdateWindow), and to the driver's tick when "
                "the process handle is signalled. Both include Wine's process start (its loader, ntdll and the "
                "user32 connection), which is most of the floor's time. Before its Navigate the shell also finds the "
        "runtime (registry and folder scan), writes moth.png when the file differs, registers its identity in the "
        "registry, "
        "initialises OLE, loads the runtime DLL and builds its window with the web view: that work is what "
        "stands above the floor. The least web-view host (bench/webview_floor.cpp) runs in the same rounds against "
        "the same stand-in: COM, one window, the runtime DLL, one environment, one controller, Navigate and one "
        "message handler that closes the window on \"close\".");
}

void measure_startup_steps(const Paths& paths, int runs, Report& report) {
    (void)run_startup_steps(paths, L"steps-warm");
    std::vector<std::string> names;
    std::vector<std::vector<double>> samples;
    for (int run = 0; run < runs; ++run) {
        std::istringstream lines(run_startup_steps(paths, L"steps-" + std::to_wstring(run)));
        std::size_t step = 0;
        for (std::string line; std::getline(lines, line); ++step) {
            const auto tab = line.find('\t');
            if (tab == std::string::npos) throw std::runtime_error("a start-up step line without a time: " + line);
            if (step == names.size()) {
                names.push_back(line.substr(0, tab));
                samples.emplace_back();
            }
            samples[step].push_back(std::stod(line.substr(tab + 1)));
        }
    }
    for (std::size_t step = 0; step < names.size(); ++step)
        report.add({"2 start-up step " + std::to_string(step) + ": " + names[step] + ", ms",
                    format(spread(samples[step]), 2), "—", "—", "—", ""});
    report.note("Start-up steps: bench/startup_steps.cpp calls the shell's own start-up functions in the order its "
                "entry calls them, in a program with the shell's resources and manifest, and times each; " +
                std::to_string(runs) + " runs after one uncounted run, each a fresh process started as the shell is "
                "(same environment, the same APPDATA folder as the start-up runs, so moth.png and the identity "
                "already exist as after the shell's first start). Step 0 runs from the driver's tick before "
                "CreateProcessW to the program's entry; the activation-context row builds the manifest's context "
                "once more, which the loader already did inside step 0, and is not a step of its own; nor is the "
                "second load of the icon group, which shows what decoding its PNG frames costs without handing the "
                "icon to the window. Under Wine, CoInitializeEx as a process's first user-interface call also pays "
                "for the process's first window work: in a program that makes a message-only window first, that window "
                "takes the time and CoInitializeEx about 1 ms. The floor pays the same in its CreateWindowExW. "
                "The rows after the web view's are made by a start only when they are needed, as their brackets say: "
                "a start whose page stays on the origin and shows no notification pays none of them.");
}

void measure_memory(const Paths& paths, int runs, Report& report) {
    std::vector<double> shell_peak, floor_peak, ratio;
    for (int run = 0; run < runs; ++run) {
        const std::wstring n = std::to_wstring(run);
        Usage shell, floor;
        if (run % 2 == 0) {
            shell = shell_footprint(paths, L"memory-shell-" + n);
            floor = floor_footprint(paths, L"memory-floor-" + n);
        } else {
            floor = floor_footprint(paths, L"memory-floor-" + n);
            shell = shell_footprint(paths, L"memory-shell-" + n);
        }
        if (shell.peak_working_set_mib <= 0 || floor.peak_working_set_mib <= 0)
            throw std::runtime_error("GetProcessMemoryInfo gave no working set");
        shell_peak.push_back(shell.peak_working_set_mib);
        floor_peak.push_back(floor.peak_working_set_mib);
        ratio.push_back(shell.peak_working_set_mib / floor.peak_working_set_mib);
    }
    const Spread peak = spread(ratio);
    report.add({"4 peak working set after start-up, MiB", format(spread(shell_peak), 2), format(spread(floor_peak), 2),
                format(peak, 2), "≤ 1.15", verdict(peak.median <= 1.15)});
    report.note("Memory: GetProcessMemoryInfo from the driver, " + std::to_string(runs) + " interleaved pairs, each "
                "read once the program has handled one message through its queue. Under Wine the working set is "
                "the Unix process's resident set (VmRSS, peak VmHWM): it counts Wine's own libraries and the "
                "mapped pages of every DLL, so it is comparable between the two programs but not with Windows. The "
                "shell's figure includes the stand-in runtime DLL it loads.");
}

}  // namespace bench
