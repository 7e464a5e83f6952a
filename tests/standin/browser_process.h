#pragma once
// The browser process behind one environment: when it exits, every web view of the environment
// hears of it and is dead from then on, and the environment makes no more controllers.

#include <vector>

#include "com_support.h"

namespace standin {

class WebView;

class BrowserProcess {
public:
    void add(WebView* view) { views_.push_back(view); }
    void remove(WebView* view) { std::erase(views_, view); }
    bool exited() const noexcept { return exited_; }
    // Raises ProcessFailed (browser exited) on every web view, then closes them.
    void exit();

private:
    std::vector<WebView*> views_;  // each removes itself when it goes
    bool exited_ = false;
};

}  // namespace standin
