#pragma once
// One clock for every process of a run: QueryPerformanceCounter is system-wide, so a tick taken
// by the driver before a start and one taken inside the started process compare directly.

#include <windows.h>

#include <cstdint>

namespace bench {

inline std::int64_t ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline double milliseconds(std::int64_t ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

}  // namespace bench
