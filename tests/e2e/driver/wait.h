#pragma once
// Polling with a deadline: the shell runs in another process, so the driver watches for effects
// instead of sleeping for a guessed time.

#include <windows.h>

#include <chrono>
#include <optional>
#include <type_traits>

namespace e2e {

using namespace std::chrono_literals;

inline constexpr auto kPollInterval = 50ms;

// How long a started shell may take to show its first window or box in a fresh prefix.
inline constexpr auto kStartTimeout = 20s;
// How long a single effect of a command may take to appear.
inline constexpr auto kEffectTimeout = 10s;

// Calls `probe` until it returns a value (an engaged optional) or the timeout passes.
template <class Probe>
auto poll_for(std::chrono::milliseconds timeout, Probe&& probe) -> std::invoke_result_t<Probe&> {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto value = probe()) return value;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        Sleep(static_cast<DWORD>(kPollInterval.count()));
    }
}

// Calls `condition` until it holds or the timeout passes; returns whether it held.
template <class Condition>
bool poll_until(std::chrono::milliseconds timeout, Condition&& condition) {
    return poll_for(timeout, [&]() -> std::optional<bool> {
               if (condition()) return true;
               return std::nullopt;
           })
        .has_value();
}

}  // namespace e2e
