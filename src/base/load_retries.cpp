#include "base/load_retries.h"

namespace wm {
namespace {

constexpr std::chrono::minutes kRestartSpacing{1};

}  // namespace

LoadRetries::Plan LoadRetries::plan(Plan::Timer timer) const {
    Plan next;
    next.timer = timer;
    next.network = !failed_.empty() &&
                   (after_ == AfterLoad::retry_by_itself || after_ == AfterLoad::retry_when_network_changes);
    return next;
}

LoadRetries::Plan LoadRetries::load_now() {
    Plan next = plan(Plan::Timer::stop);
    if (loading_) return next;
    loading_ = true;
    next.load = failed_;
    return next;
}

LoadRetries::Plan LoadRetries::ended(AfterLoad after, const std::string& address) {
    loading_ = false;
    switch (after) {
    case AfterLoad::unchanged:
        return plan(Plan::Timer::keep);
    case AfterLoad::done:
        failed_.clear();
        attempts_ = 0;
        after_ = after;
        return plan(Plan::Timer::stop);
    case AfterLoad::retry_by_itself: {
        failed_ = address;
        after_ = after;
        Plan next = plan(Plan::Timer::set);
        next.wait = retry_delay(attempts_++);
        return next;
    }
    case AfterLoad::retry_when_network_changes:
    case AfterLoad::left_to_user:
        failed_ = address;
        after_ = after;
        return plan(Plan::Timer::stop);
    }
    return plan(Plan::Timer::keep);
}

LoadRetries::Plan LoadRetries::document_started(std::string_view address) {
    // The same address again is a retry, whose end says how it went.
    if (failed_.empty() || address == failed_) return plan(Plan::Timer::keep);
    failed_.clear();
    attempts_ = 0;
    Plan next = plan(Plan::Timer::stop);
    next.failure_gone = true;
    return next;
}

LoadRetries::Plan LoadRetries::timer_fired() {
    if (failed_.empty() || after_ != AfterLoad::retry_by_itself) return plan(Plan::Timer::stop);
    return load_now();
}

LoadRetries::Plan LoadRetries::network_changed(Clock::time_point now) {
    if (failed_.empty()) return plan(Plan::Timer::keep);
    if (after_ == AfterLoad::retry_when_network_changes) return load_now();
    if (after_ != AfterLoad::retry_by_itself || (restarted_ && now - *restarted_ < kRestartSpacing))
        return plan(Plan::Timer::keep);
    // The network is back: no reason to wait, nor to wait long the next time.
    restarted_ = now;
    attempts_ = 0;
    return load_now();
}

LoadRetries::Plan LoadRetries::user_asked() {
    if (failed_.empty()) return plan(Plan::Timer::keep);
    loading_ = false;  // the user's load goes ahead of one of the shell's own under way
    return load_now();
}

}  // namespace wm
