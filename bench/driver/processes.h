#pragma once
// The two programs the benchmark starts, each with the shared block it is watched through: the
// shell against the stand-in runtime (counters.h), and the instrumented floor (floor_block.h).

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "counters.h"
#include "driver/handle.h"
#include "driver/process.h"
#include "driver/shared_block.h"
#include "floor_block.h"

namespace bench {

using namespace std::chrono_literals;

// How long a start, a close or a batch of work may take before the run counts as failed.
inline constexpr auto kStartTimeout = 60s;
inline constexpr auto kWorkTimeout = 600s;

struct Paths {
    std::filesystem::path shell;            // the copy of wispermoth.exe that runs
    std::filesystem::path standin_runtime;  // the stand-in's runtime folder
    std::filesystem::path floor;            // the instrumented floor program
    std::filesystem::path folder;           // the run's folder: APPDATA, outputs
    std::filesystem::path startup_steps;    // the shell's start-up, timed step by step
    std::filesystem::path webview_floor;    // the least web-view host
};

// What the system says a process costs; under Wine the numbers come from the Unix process.
struct Usage {
    double cpu_ms = 0;
    double working_set_mib = 0;
    double peak_working_set_mib = 0;
};
Usage usage_of(HANDLE process);

// A started program: its process, a handle to query it, the tick just before its creation.
class Started {
public:
    Started(e2e::ChildProcess child, std::int64_t started_at);
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started() = default;

    std::int64_t started_at() const { return started_at_; }
    DWORD id() const { return child_.id(); }
    Usage usage() const { return usage_of(query_.get()); }
    // Waits for the end; the tick at which the wait returned, or nothing after the timeout or
    // when the exit code is not 0.
    std::optional<std::int64_t> wait_for_end(std::chrono::milliseconds timeout = kStartTimeout) const;

private:
    e2e::ChildProcess child_;
    e2e::UniqueHandle query_;
    std::int64_t started_at_;
};

class Shell {
public:
    // Starts the shell with its counters and no log; the block is named after `tag`. The
    // stand-in's message hooks count the messages of the shell's thread, but cost Wine server
    // round trips per message: only the runs that count messages have them.
    // `variables` are set in its environment besides. `executable` runs instead of the shell
    // when given: the least web-view host, watched through the same stand-in.
    enum class Watch { off, messages };
    Shell(const Paths& paths, const std::wstring& tag, Watch watch = Watch::off,
          const std::vector<std::pair<std::wstring, std::wstring>>& variables = {},
          const std::filesystem::path& executable = {});

    const Started& process() const { return *process_; }
    const SharedBlock<standin::CounterBlock>& counters() const { return counters_; }

    // Waits for the first Navigate; false after the timeout.
    bool wait_for_navigate() const;
    std::int64_t navigated_at() const { return counters_->navigated_at; }
    // The main window's page window (StandinWebView) and its top-level window.
    HWND page() const { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(counters_->navigated_window)); }
    HWND window() const { return GetAncestor(page(), GA_ROOT); }

    // One page message, or many raised in one loop turn, from a page window; false when refused.
    bool post(std::string_view message, HWND page = nullptr) const;
    bool post_joined(std::string_view joined) const;
    // Arms the event for the script count `scripts() + count`.
    std::int64_t expect_scripts(std::int64_t count) const;
    bool wait_for_scripts(std::int64_t target, std::chrono::milliseconds timeout = kWorkTimeout) const;
    // Waits until everything posted before has been handled: a "saved:" message and its answer.
    bool settle() const;

private:
    SharedBlock<standin::CounterBlock> counters_;
    std::unique_ptr<Started> process_;
};

// One run of the start-up steps program as the shell is run; its output, "name<TAB>ms" lines.
std::string run_startup_steps(const Paths& paths, const std::wstring& tag);

class Floor {
public:
    Floor(const Paths& paths, const std::wstring& tag);

    const Started& process() const { return *process_; }
    const SharedBlock<FloorBlock>& block() const { return block_; }

    bool wait_for_shown() const;
    std::int64_t shown_at() const { return block_->shown_at; }
    HWND window() const { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(block_->window)); }

    // Hands it `count` wake-ups to handle; false when refused.
    bool add(long long count) const;
    std::int64_t expect_handled(std::int64_t count) const;
    bool wait_for_handled(std::int64_t target, std::chrono::milliseconds timeout = kWorkTimeout) const;
    // One wake-up through its queue.
    bool settle() const;
    bool close() const { return PostMessageW(window(), WM_CLOSE, 0, 0) != FALSE; }

private:
    SharedBlock<FloorBlock> block_;
    std::unique_ptr<Started> process_;
};

}  // namespace bench
