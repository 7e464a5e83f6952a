#pragma once
// The web view's window: a child of the host's window, of class StandinWebView. It shows the
// current address and the last calls the shell made into the page, so that a person looking at
// the shell sees it alive, and it is where the tests send their control commands (WM_COPYDATA).

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "handles.h"

namespace standin {

class PageWindow {
public:
    // Takes a control command (COPYDATASTRUCT's dwData) and its UTF-8 payload from inside
    // WM_COPYDATA; answers whether the command was accepted. It must not act on it there.
    using CommandSink = std::function<bool(ULONG_PTR command, std::string payload)>;

    // A visible, empty child of parent; null (with GetLastError set) when it cannot be made.
    static std::unique_ptr<PageWindow> create(HWND parent, CommandSink sink);

    explicit PageWindow(CommandSink sink) : sink_(std::move(sink)) {}
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;
    ~PageWindow();

    // False once the window is gone, with its parent or through the destructor.
    bool alive() const noexcept { return window_.get() != nullptr; }
    HWND handle() const noexcept { return window_.get(); }
    void set_bounds(const RECT& bounds);
    void set_visible(bool visible);
    void focus();
    void show_address(std::wstring address);
    void record_call(std::wstring call);

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept;
    LRESULT on_copy_data(const COPYDATASTRUCT& data) noexcept;
    void paint() const;
    void redraw() const;

    CommandSink sink_;
    UniqueWindow window_;
    std::wstring address_;
    std::deque<std::wstring> recent_calls_;
    mutable bool redraw_pending_ = false;  // invalidated, and not painted since
};

}  // namespace standin
