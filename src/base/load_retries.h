#pragma once
// When the shell loads again a document that failed: by itself at growing intervals, at once when
// Windows reports the network reachable (restarting the intervals at most once a minute, so that
// a flapping network does not reload on every report), and when the user asks; a refused
// certificate only on a network report or the user's word; a page not the application's only on
// the user's. Never more than one load of its own at a time. The time is handed in, so that the
// rules hold without a clock of their own.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "base/load_result.h"

namespace wm {

class LoadRetries {
public:
    using Clock = std::chrono::steady_clock;

    // What the web view layer does next.
    struct Plan {
        enum class Timer { keep, set, stop };
        std::string load;  // an address to load now; empty for none
        Timer timer = Timer::keep;
        std::chrono::milliseconds wait{};  // with Timer::set: when the timer fires
        bool network = false;             // whether Windows' network reports are wanted
        bool failure_gone = false;        // another document took the failed one's place
    };

    // A load ended, judged.
    Plan ended(AfterLoad after, const std::string& address);
    // A new document began to load at `address`.
    Plan document_started(std::string_view address);
    Plan timer_fired();
    // Windows reports the network reachable.
    Plan network_changed(Clock::time_point now);
    // "Try again".
    Plan user_asked();
    // The web view loading a retry went; its load never ends.
    void load_abandoned() noexcept { loading_ = false; }

private:
    Plan plan(Plan::Timer timer) const;
    Plan load_now();

    std::string failed_;  // the document that failed, empty while none
    AfterLoad after_ = AfterLoad::done;
    bool loading_ = false;  // a load of the shell's own has not ended yet
    unsigned attempts_ = 0;
    std::optional<Clock::time_point> restarted_;  // when a network report last restarted the intervals
};

}  // namespace wm
