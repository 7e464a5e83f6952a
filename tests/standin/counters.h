#pragma once
// Counters a benchmark reads while the shell runs: a block of shared memory the stand-in keeps
// up to date without writing anything anywhere, and an event it sets at the moments a reader
// waits for. The layout is shared with the benchmark driver; PROTOCOL.md describes it.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace standin {

// The variable names a file mapping of at least sizeof(CounterBlock) bytes that the reader made;
// the event is the same name followed by this suffix.
inline constexpr wchar_t kCountersVariable[] = L"STANDIN_COUNTERS";
inline constexpr wchar_t kCountersEventSuffix[] = L".signal";

// Lock-free 64-bit atomics are address-free, so two processes may share them.
static_assert(std::atomic<std::int64_t>::is_always_lock_free);

struct CounterBlock {
    // QueryPerformanceCounter at the process's first Navigate; 0 before it.
    std::atomic<std::int64_t> navigated_at;
    // The StandinWebView window of that web view.
    std::atomic<std::int64_t> navigated_window;
    // ExecuteScript calls.
    std::atomic<std::int64_t> scripts;
    // Written by the reader: the event is set when `scripts` reaches this value.
    std::atomic<std::int64_t> script_target;
    // Posted messages the watched thread took from its queue, and those among them that were
    // addressed to the stand-in's own windows.
    std::atomic<std::int64_t> posted_taken;
    std::atomic<std::int64_t> posted_to_standin;
    // Sent messages that reached a window procedure of the watched thread, likewise.
    std::atomic<std::int64_t> sent_seen;
    std::atomic<std::int64_t> sent_to_standin;
    // Outcomes of script calls (ExecuteScript, AddScriptToExecuteOnDocumentCreated), and those
    // among them posted back through the loop because the call came with a completion handler.
    std::atomic<std::int64_t> outcomes;
    std::atomic<std::int64_t> outcomes_posted;
    // The executable's own live heap blocks and their bytes, counted from the first environment
    // on (allocations.h): frees of earlier blocks count too, so only differences mean anything.
    std::atomic<std::int64_t> shell_blocks;
    std::atomic<std::int64_t> shell_bytes;
    // The stand-in's web view objects that have not been released.
    std::atomic<std::int64_t> standin_views;
};

// The stand-in's side of the block; without the variable (or the mapping) it counts nothing.
class Counters {
public:
    static std::unique_ptr<Counters> from_environment();

    Counters() noexcept = default;
    Counters(HANDLE mapping, CounterBlock* block, HANDLE event) noexcept
        : mapping_(mapping), block_(block), event_(event) {}
    Counters(const Counters&) = delete;
    Counters& operator=(const Counters&) = delete;
    // Inline, so that a log without counters needs nothing of counters.cpp.
    ~Counters() {
        if (block_) UnmapViewOfFile(block_);
        if (mapping_) CloseHandle(mapping_);
        if (event_) CloseHandle(event_);
    }

    void navigated(HWND page_window) const noexcept;
    void script_called() const noexcept;
    void outcome(bool posted) const noexcept;
    // A web view object made (+1) or released (-1).
    void view_count(int change) const noexcept;
    // A message that reached a window of the watched thread, taken from the queue or sent.
    void message_seen(HWND window, bool posted) const noexcept;

private:
    HANDLE mapping_ = nullptr;
    CounterBlock* block_ = nullptr;
    HANDLE event_ = nullptr;
};

}  // namespace standin
