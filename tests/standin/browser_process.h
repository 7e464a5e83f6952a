#pragma once
// The browser process behind one environment: when it exits, every web view of the environment
// hears of it and is dead from then on, and the environment makes no more controllers.

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "com_support.h"
#include "download_operation.h"
#include "text.h"

namespace standin {

class WebView;

// A download kept in progress until a test ends it; it belongs to the browser process, so it
// outlives the web view that started it.
struct HeldDownload {
    ComPtr<DownloadOperation> operation;
    std::optional<std::wstring> content_file;
};

class BrowserProcess {
public:
    void add(WebView* view) { views_.push_back(view); }
    void remove(WebView* view) { std::erase(views_, view); }
    // A web view closed: once none is open, the browser's processes end, by failure or, the web
    // views all closed, normally; `ended` hears it (true for a failure).
    void view_closed();
    void on_end(std::function<void(bool failed)> ended) { ended_ = std::move(ended); }
    bool exited() const noexcept { return exited_; }
    // No network: every http(s) document fails, as with the cable pulled.
    bool offline() const noexcept { return offline_; }
    void set_offline(bool offline) noexcept { offline_ = offline; }
    // Raises ProcessFailed (browser exited) on every web view, then closes them.
    void exit();
    void hold(HeldDownload download) { held_downloads_.push_back(std::move(download)); }
    // The download held longest, taken away; nothing when none is held.
    std::optional<HeldDownload> release_download() {
        if (held_downloads_.empty()) return std::nullopt;
        HeldDownload first = std::move(held_downloads_.front());
        held_downloads_.pop_front();
        return first;
    }

private:
    std::vector<WebView*> views_;  // each removes itself when it goes
    std::function<void(bool failed)> ended_;
    std::deque<HeldDownload> held_downloads_;
    bool exited_ = false;
    bool offline_ = environment_variable(L"STANDIN_NO_NETWORK").has_value();
};

}  // namespace standin
