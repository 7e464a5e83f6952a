#pragma once
// Building a shell window with its web view, and the Win32 side of the dispatcher's host.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/shell_host.h"
#include "host/event_loop.h"
#include "host/webview.h"
#include "notify/toast_win.h"

namespace wm {

inline constexpr std::uint32_t kDefaultInnerWidth = 1200;
inline constexpr std::uint32_t kDefaultInnerHeight = 800;

struct BuiltWindow {
    std::optional<WindowRecord> record;
    std::wstring error;  // the window or web view layer's description when record is empty
};

class Win32ShellHost final : public ShellHost {
public:
    explicit Win32ShellHost(host::EventLoop& loop) : loop_(loop) {}

    // With the layer's description of a failure, for the main window's dialog.
    BuiltWindow build(const WindowRequest& request);

    void write_state_file(std::string_view name, std::string_view contents) override;
    void show_notification(const NotificationRequest& request) override { toasts_.show(request); }
    bool apply_update() override;
    bool update_download_running() const override { return *update_downloads_ != 0; }
    std::optional<WindowRecord> build_window(const WindowRequest& request) override {
        return build(request).record;
    }

private:
    host::EventLoop& loop_;
    // Created for the first window, shared by every later one.
    host::WebViewEnvironment environment_;
    Toasts toasts_;
    // Update downloads started and not yet ended, counted by every window's download handlers.
    std::shared_ptr<std::size_t> update_downloads_ = std::make_shared<std::size_t>(0);
};

}  // namespace wm
