#pragma once
// The downloads the shell writes in silence, held from their start to their end.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/com.h"
#include "host/event_loop.h"
#include "host/webview2.h"

namespace wm::host {

// A download that ended, completed or interrupted.
struct FinishedDownload {
    std::string source_page;  // the address the web view showed when the download started
    std::string address;
    bool completed = false;
    std::optional<std::u16string> result_path;  // where a completed download was written
    std::uint64_t order = 0;  // the downloads followed, counted from 1 in the order they started
};

// A runtime may stop raising a download's StateChanged once the web view that started it has
// closed, and a subscription may fail: while any download is held, the states are also read on a
// timer. Each end is reported once, from whichever comes first, and a download counts as running
// only while it is held and reads as in progress.
class DownloadWatch {
public:
    using Finished = std::function<void(const FinishedDownload&)>;

    explicit DownloadWatch(EventLoop& loop) : loop_(loop) {}
    ~DownloadWatch();
    DownloadWatch(const DownloadWatch&) = delete;
    DownloadWatch& operator=(const DownloadWatch&) = delete;

    // Holds `operation` until it ends, then reports it through `finished`.
    void follow(ComPtr<ICoreWebView2DownloadOperation> operation, FinishedDownload download, Finished finished);
    // Whether a held download that `matches` is in progress.
    bool running(const std::function<bool(const FinishedDownload&)>& matches) const;

private:
    struct Held {
        std::uint64_t id = 0;
        ComPtr<ICoreWebView2DownloadOperation> operation;
        EventRegistrationToken token{};
        bool subscribed = false;
        FinishedDownload download;
        Finished finished;
    };

    // Reports and lets go of the download when it has ended; a state that cannot be read is an
    // end, interrupted, so that nothing stays counted for ever.
    void check(std::uint64_t id);
    void check_all();

    EventLoop& loop_;
    std::vector<Held> held_;
    std::uint64_t next_id_ = 1;
};

}  // namespace wm::host
