#pragma once
// What the instrumented floor program shares with the benchmark driver: a block of shared memory
// named by BENCH_FLOOR (the driver makes it) and an event of the same name plus ".signal", set
// when the window shows and when the wake-ups handled reach the driver's target.

#include <atomic>
#include <cstdint>

namespace bench {

inline constexpr wchar_t kFloorVariable[] = L"BENCH_FLOOR";
inline constexpr wchar_t kFloorEventSuffix[] = L".signal";

static_assert(std::atomic<std::int64_t>::is_always_lock_free);

struct FloorBlock {
    // QueryPerformanceCounter once the window has been shown and painted; 0 before.
    std::atomic<std::int64_t> shown_at;
    std::atomic<std::int64_t> window;
    // Messages the loop took from the queue, and calls of the window procedure.
    std::atomic<std::int64_t> loop_turns;
    std::atomic<std::int64_t> procedure_calls;
    // Wake-ups handled (each with one COM call), and the count at which the event is set.
    std::atomic<std::int64_t> handled;
    std::atomic<std::int64_t> handled_target;
};

}  // namespace bench
