#pragma once
// How a window's document load ended, as the web view layer reports it, and what the layer does
// next: a window whose document failed must not stay a dead end.

#include <chrono>
#include <string>

namespace wm {

enum class LoadError {
    none,
    cancelled,  // replaced by another navigation, or stopped: no failure
    no_network,
    name_not_resolved,
    timed_out,
    unreachable,
    certificate,  // the server's certificate, or the client's, was refused
    other,
};

struct LoadResult {
    std::string address;  // the document's address, which the runtime keeps on its error page
    bool success = false;
    LoadError error = LoadError::none;
    int http_status = 0;  // 0 when no response came
};

// What the web view layer does after a load.
enum class AfterLoad {
    done,             // the document is there: no more tries
    retry_by_itself,  // failed: load the address again, by the schedule below or when the network is back
    // Failed, and loaded again only when the user asks or Windows reports that the network
    // changed: a refused certificate, which a captive portal's answer is until the user signs in.
    retry_when_network_changes,
    left_to_user,  // failed, and the shell never loads it again by itself (a page not the application's)
    unchanged,     // says nothing about the document (a navigation cancelled for another)
};

// The wait before automatic retry number `attempt` (from 0): 2 s, doubling, at most 60 s.
std::chrono::milliseconds retry_delay(unsigned attempt) noexcept;

}  // namespace wm
