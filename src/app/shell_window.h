#pragma once
// Building a shell window with its web view, and the Win32 side of the dispatcher's host.

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

struct WindowRequest {
    std::string address;
    std::optional<WindowGeometry> geometry;
    bool always_on_top = false;
    std::string_view icon_variant;
    const std::string& init_script;
};

BuiltWindow build_shell_window(host::EventLoop& loop, host::WebViewEnvironment& environment,
                               const WindowRequest& request);

// Only the microphone is granted outright, and only to the application's own pages; every other
// request keeps the runtime's default.
std::optional<COREWEBVIEW2_PERMISSION_STATE> allow_microphone(COREWEBVIEW2_PERMISSION_KIND kind,
                                                              std::string_view uri) noexcept;

class Win32ShellHost final : public ShellHost {
public:
    explicit Win32ShellHost(host::EventLoop& loop) : loop_(loop) {}

    BuiltWindow build(const WindowRequest& request) { return wm::build_shell_window(loop_, environment_, request); }

    void write_state_file(std::string_view name, std::string_view contents) override;
    void show_notification(const NotificationRequest& request) override { toasts_.show(request); }
    bool apply_update() override;

private:
    host::EventLoop& loop_;
    host::WebViewEnvironment environment_;
    Toasts toasts_;
};

}  // namespace wm
