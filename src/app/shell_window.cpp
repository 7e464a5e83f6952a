#include "app/shell_window.h"

#include <utility>

#include "base/product.h"
#include "base/text_codec.h"
#include "bridge/init_script.h"
#include "features/autostart_win.h"
#include "features/away_strip.h"
#include "features/icon_variant_win.h"
#include "features/load_failure.h"
#include "features/state_files.h"
#include "features/state_text.h"
#include "host/file_io.h"
#include "host/first_frame.h"
#include "host/frameless_window.h"
#include "links/open_external.h"
#include "links/origin.h"
#include "update/downloads.h"
#include "update/update_files_win.h"

namespace wm {
namespace {

// The native half of a window record: the frameless window and the icon it shows.
class Win32NativeWindow final : public NativeWindow {
public:
    Win32NativeWindow(std::unique_ptr<host::FramelessWindow> window, TaskbarOverlay& taskbar)
        : window_(std::move(window)), taskbar_(taskbar) {}

    host::FramelessWindow& frameless() { return *window_; }
    WindowId id() const override { return reinterpret_cast<WindowId>(window_->hwnd()); }
    bool is_minimized() const override { return IsIconic(window_->hwnd()) != FALSE; }
    bool is_maximized() const override { return window_->maximized(); }
    void minimize() override {
        if (!IsIconic(window_->hwnd())) ShowWindow(window_->hwnd(), SW_MINIMIZE);
    }
    void set_maximized(bool maximized) override { ShowWindow(window_->hwnd(), maximized ? SW_MAXIMIZE : SW_RESTORE); }
    void start_drag(int hit_test) override { (void)host::start_system_drag(window_->hwnd(), hit_test); }
    void bring_forward() override {
        if (IsIconic(window_->hwnd())) ShowWindow(window_->hwnd(), SW_RESTORE);
        (void)host::bring_to_foreground(window_->hwnd());
    }
    void set_always_on_top(bool on) override {
        const HWND hwnd = window_->hwnd();
        const bool topmost = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (topmost == on) return;
        (void)SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        (void)InvalidateRgn(hwnd, nullptr, TRUE);
    }
    void apply_icon_variant(std::string_view word) override { wm::apply_icon_variant(window_->hwnd(), word, icon_); }
    void set_snap_area(const std::optional<CssRect>& area) override { window_->set_snap_area(area); }
    void show_badge(const Badge& badge) override {
        window_->watch_taskbar_button();
        taskbar_.show(window_->hwnd(), badge);
    }
    std::optional<WindowGeometry> logical_geometry() const override { return window_->logical_geometry(); }
    std::optional<WindowGeometry> normal_geometry() const override { return window_->normal_geometry(); }

private:
    // Declared first so that the icon outlives the window that shows it.
    host::UniqueIcon icon_;
    std::unique_ptr<host::FramelessWindow> window_;
    TaskbarOverlay& taskbar_;
};

// The web view half of a window record.
class Win32WebView final : public WebView {
public:
    explicit Win32WebView(std::unique_ptr<host::WebView2View> view) : view_(std::move(view)) {}

    std::optional<std::string> page_address() const override { return view_->page_address(); }
    void run_script(std::string_view script) override { view_->run_script(script); }
    void navigate(const std::string& address) override { view_->navigate(address); }
    void set_visible(bool visible) override { view_->set_visible(visible); }
    void set_zoom(double zoom) override { view_->set_zoom(zoom); }

private:
    std::unique_ptr<host::WebView2View> view_;
};

void post_page_message(const host::EventSender& sender, WindowId window, std::string source, std::string message) {
    // Dropped once the loop has ended.
    (void)sender.post(PageMessage{window, std::move(message), std::move(source)});
}

// Only the microphone is granted outright, and only to the application's own pages; every other
// request keeps the runtime's default.
std::optional<COREWEBVIEW2_PERMISSION_STATE> allow_microphone(COREWEBVIEW2_PERMISSION_KIND kind,
                                                              std::string_view uri) noexcept {
    if (kind == COREWEBVIEW2_PERMISSION_KIND_MICROPHONE && in_app_origin(uri)) return COREWEBVIEW2_PERMISSION_STATE_ALLOW;
    return std::nullopt;
}

// The application's page colour, read from a page of its own, kept for the first frame of the
// web views to come.
void remember_page_colour(std::u16string_view answer) {
    const auto text = decode_json_string(answer);
    const auto colour = text ? parse_css_rgb(*text) : std::nullopt;
    if (colour && colour != parse_colour(read_state_file(kBackgroundFile)))
        write_state_file(kBackgroundFile, format_colour(*colour));
}

}  // namespace

BuiltWindow Win32ShellHost::build(const WindowRequest& request) {
    BuiltWindow built;
    // Read at each window: another window may have learned it since.
    const std::uint32_t background = parse_colour(read_state_file(kBackgroundFile)).value_or(host::theme_background());
    auto frameless = host::FramelessWindow::create(loop_, std::wstring(kProductNameW), request.geometry,
                                                   kDefaultInnerWidth, kDefaultInnerHeight, request.always_on_top,
                                                   request.maximized, request.minimized, background, built.error);
    if (!frameless) return built;
    auto native = std::make_unique<Win32NativeWindow>(std::move(frameless), taskbar_);
    native->apply_icon_variant(request.icon_variant);

    const WindowId id = native->id();
    host::WebViewHandlers handlers{
        .is_app_page = in_app_origin,
        .page_message =
            [sender = loop_.sender(), id](std::string source, std::string message) {
                post_page_message(sender, id, std::move(source), std::move(message));
            },
        .new_window_requested =
            [](const host::NewWindowRequest& request) {
                on_new_window_requested(request.address, request.requesting_page, request.user_initiated);
            },
        .permission_requested = allow_microphone,
        .download_starting =
            [](const std::string& source_page, const std::string& address, std::wstring proposed) {
                return route_download(source_page, address, std::move(proposed), update_paths(), host::same_file);
            },
        // The host outlives every window and download.
        .download_followed =
            [this, id](host::ComPtr<ICoreWebView2DownloadOperation> operation, host::FinishedDownload download) {
                downloads_.follow(std::move(operation), std::move(download),
                                  [this, id](const host::FinishedDownload& ended) { download_ended(id, ended); });
            },
        // The strip follows at once. The web view, which holds this handler, goes before its
        // window.
        .source_changed = [window = &native->frameless()](
                              const std::string& address) { window->show_strip(away_strip_text(address)); },
        // The snap rectangle goes through the loop, so that the old page's messages queued before
        // are handled first.
        .new_document =
            [sender = loop_.sender(), id] {
                (void)sender.post(WindowEvent{id, WindowEventKind::page_replaced});  // dropped once the loop ended
            },
        .zoom_changed = [sender = loop_.sender(), id](double zoom) { (void)sender.post(ZoomChanged{id, zoom}); },
        .background_read = remember_page_colour,
        .document_loaded =
            [window = &native->frameless(), sender = loop_.sender(), id](const LoadResult& result) {
                const LoadVerdict verdict = judge_load(result);
                if (verdict.after != AfterLoad::unchanged)
                    window->show_strip(verdict.words.empty() ? std::nullopt : std::optional(verdict.words), true);
                // Through the loop, after the document's own messages.
                if (verdict.after == AfterLoad::done)
                    (void)sender.post(WindowEvent{id, WindowEventKind::page_loaded});  // dropped once the loop ended
                return verdict.after;
            },
        .failure_replaced = [window = &native->frameless()] { window->show_strip(std::nullopt, true); },
    };
    auto webview = host::WebView2View::create(
        loop_, environment_, native->frameless(),
        {bridge_script(), badge_script(), std::string(request.init_script)}, request.address,
        std::move(handlers), {.zoom = request.zoom, .background = background}, built.error);
    if (!webview) return built;  // dropping `native` destroys the window

    const bool maximized = native->is_maximized();
    built.record = WindowRecord{std::move(native), std::make_unique<Win32WebView>(std::move(webview)), maximized,
                                SnapPointer::outside};
    return built;
}

void Win32ShellHost::write_state_file(std::string_view name, std::string_view contents) {
    wm::write_state_file(name, contents);
}

bool Win32ShellHost::set_autostart(bool on) { return wm::set_autostart(on); }

bool Win32ShellHost::read_autostart() { return wm::read_autostart(); }

void Win32ShellHost::hear_notification_clicks() {
    // A click after the loop ended is dropped.
    if (!activator_)
        activator_.emplace([sender = loop_.sender(), pending = &pending_click_](std::string tag) {
            if (pending->admit()) (void)sender.post(NotificationClicked{std::move(tag)});
        });
}

bool Win32ShellHost::apply_update() {
    // Spent by any attempt: after a failure the file may go, and its identity pass to another.
    const auto downloaded = std::exchange(downloaded_update_, std::nullopt);
    if (!downloaded) return false;
    // The new build may bring other browser options, with which the runtime refuses the page data
    // while this build's browser holds it: the browser is ended first, and the new build's first
    // web view finds the data free.
    bool handed_over = false;
    const bool applied =
        wm::apply_update(loop_, downloaded->file, [this, &handed_over] { handed_over = environment_.hand_over(loop_); })
            .succeeded();
    if (!applied && handed_over) environment_.resume(loop_);  // this build runs on, on the pages it showed
    return applied;
}

bool Win32ShellHost::update_download_running() const {
    return downloads_.running([](const host::FinishedDownload& download) { return is_update_url(download.address); });
}

// Told in the window's name, judged by the page that started the download.
void Win32ShellHost::download_ended(WindowId window, const host::FinishedDownload& download) {
    auto end = on_download_completed(download.address, download.result_path, download.completed);
    if (!end) return;
    if (end->kind == DownloadEnd::Kind::update_finished) {
        // Recorded before anything else may take the name; a file that cannot be told is no update.
        const auto& path = download.result_path;
        const auto file = path ? host::file_identity(std::wstring(path->begin(), path->end())) : std::nullopt;
        downloaded_update_.reset();
        if (file) downloaded_update_ = DownloadedUpdate{*file, download.order};
        else end->kind = DownloadEnd::Kind::update_failed;
    } else if (end->kind == DownloadEnd::Kind::update_failed && downloaded_update_ &&
               download.order > downloaded_update_->order) {
        // The page hears that its latest update failed: its next "update:done" takes no older file.
        downloaded_update_.reset();
    }
    (void)loop_.sender().post(DownloadEnded{window, std::move(*end), download.source_page});
}

}  // namespace wm
