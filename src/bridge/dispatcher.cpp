#include "bridge/dispatcher.h"

#include "base/product.h"
#include "bridge/classify.h"
#include "bridge/script_calls.h"
#include "features/badge.h"
#include "features/snap_area.h"
#include "features/state_text.h"
#include "features/window_paths.h"
#include "links/origin.h"

namespace wm {
namespace {

template <class... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

constexpr std::uint32_t kPickerWidth = 380;
constexpr std::uint32_t kPickerHeight = 620;

// What the `max` message does; the report follows from the size event the change causes.
void toggle_maximized(WindowRecord& record) {
    record.native_window->set_maximized(!record.native_window->is_maximized());
}

// Calls one of the page's functions only while the window shows the application: other sites are
// not told that the user runs the shell, nor its settings. A page that comes back asks with `state:`.
void tell(WindowRecord& record, const std::string& script) {
    const auto address = record.webview->page_address();
    if (address && in_app_origin(*address)) record.webview->run_script(script);
}

void set_snap_area(WindowRecord& record, std::string_view argument) {
    const auto area = parse_snap_rect(argument);
    record.native_window->set_snap_area(area);
    // A button taken away under the pointer is left.
    if (!area && record.snap_pointer != SnapPointer::outside) {
        record.snap_pointer = SnapPointer::outside;
        tell(record, snap_state_script(snap_state_word(SnapPointer::outside)));
    }
}

void follow_snap_pointer(WindowRecord& record, SnapInput input) {
    const SnapStep step = step_snap_pointer(record.snap_pointer, input);
    record.snap_pointer = step.next;
    if (step.report) tell(record, snap_state_script(snap_state_word(step.next)));
    if (step.toggle_maximized) toggle_maximized(record);
}

void tell_every_window(ShellState& state, const std::string& script) {
    for (auto& [id, record] : state.windows) tell(record, script);
}

// Builds a window with the shell's current settings and lists it; its identifier, or nothing.
std::optional<WindowId> add_window(ShellState& state, ShellHost& host, std::string address,
                                   std::optional<WindowGeometry> geometry) {
    auto record = host.build_window({.address = std::move(address),
                                     .geometry = geometry,
                                     .always_on_top = state.always_on_top,
                                     .icon_variant = state.icon_variant,
                                     .init_script = state.init_script,
                                     .zoom = state.zoom});
    if (!record) return std::nullopt;
    const WindowId id = record->native_window->id();
    // Until a page asks for a badge, no window touches the taskbar.
    if (state.badge.kind != BadgeKind::none) record->native_window->show_badge(state.badge);
    state.windows.emplace(id, std::move(*record));
    state.later_windows.push_back(id);
    return id;
}

// The window that stands for the application: the main window, or once it is closed the
// earliest-opened window still open.
WindowRecord* application_window(ShellState& state) {
    auto found = state.windows.find(state.main_window);
    if (found == state.windows.end() && !state.later_windows.empty())
        found = state.windows.find(state.later_windows.front());
    return found == state.windows.end() ? nullptr : &found->second;
}

// Told once, and only to a loaded document of the application: a call into a page still loading
// finds no function, and another site must not learn what the user clicked.
void tell_clicked_tag(ShellState& state) {
    WindowRecord* window = application_window(state);
    if (state.clicked_tag.empty() || !window || !window->page_loaded) return;
    const auto address = window->webview->page_address();
    if (!address || !in_app_origin(*address)) return;
    window->webview->run_script(notification_clicked_script(state.clicked_tag));
    state.clicked_tag.clear();
}

void notification_clicked(ShellState& state, const NotificationClicked& click) {
    if (WindowRecord* window = application_window(state)) window->native_window->bring_forward();
    if (click.tag.empty()) return;
    state.clicked_tag = click.tag;
    tell_clicked_tag(state);
}

void broadcast_windows_changed(ShellState& state) {
    const bool picker_open = state.picker_window && state.windows.contains(*state.picker_window);
    tell_every_window(state, windows_changed_script(picker_open));
}

// Drops the window's record (its web view, then its window), ends the loop when none is left,
// and tells the remaining pages.
void remove_window(ShellState& state, WindowId window, LoopControl& control) {
    state.windows.erase(window);
    std::erase(state.later_windows, window);
    // Its room was for windows that have gone: nothing made for a window outlives them all.
    if (state.later_windows.empty()) state.later_windows.shrink_to_fit();
    if (state.windows.empty()) {
        control = LoopControl::exit;
        return;
    }
    broadcast_windows_changed(state);
}

// A further window on the path, cascaded from the source window; nothing for an invalid path or a
// window that could not be built.
void open_extra_window(ShellState& state, ShellHost& host, const WindowRecord& source, std::string_view path) {
    auto address = page_url_for_path(path);
    if (!address) return;
    (void)add_window(state, host, std::move(*address), cascade_geometry(source.native_window->logical_geometry()));
}

// The one picker: brought forward when open, otherwise built on the path at its fixed size.
void open_picker(ShellState& state, ShellHost& host, const WindowRecord& source, std::string_view path) {
    auto address = page_url_for_path(path);
    if (!address) return;
    if (state.picker_window) {
        if (const auto open = state.windows.find(*state.picker_window); open != state.windows.end()) {
            // The open picker keeps its page.
            open->second.native_window->bring_forward();
            return;
        }
    }
    // The cascade's corner at the picker's own size; without one, the default size and place.
    auto geometry = cascade_geometry(source.native_window->logical_geometry());
    if (geometry) {
        geometry->width = kPickerWidth;
        geometry->height = kPickerHeight;
    }
    if (const auto id = add_window(state, host, std::move(*address), geometry)) state.picker_window = id;
}

void set_always_on_top(ShellState& state, ShellHost& host, bool on) {
    state.always_on_top = on;
    host.write_state_file(kTopFile, on ? "1" : "0");
    const std::string report = top_state_script(on);
    for (auto& [id, record] : state.windows) {
        record.native_window->set_always_on_top(on);
        tell(record, report);
    }
}

void set_icon_variant(ShellState& state, ShellHost& host, std::string_view word) {
    state.icon_variant = word;
    host.write_state_file(kIconFile, word);
    const std::string report = icon_state_script(word);
    for (auto& [id, record] : state.windows) {
        record.native_window->apply_icon_variant(word);
        tell(record, report);
    }
}

void set_badge(ShellState& state, std::string_view argument) {
    const auto badge = parse_badge(argument);
    if (!badge) return;
    state.badge = *badge;
    for (auto& [id, record] : state.windows) record.native_window->show_badge(state.badge);
}

void set_autostart(ShellState& state, ShellHost& host, bool on) {
    state.autostart = host.set_autostart(on);
    tell_every_window(state, autostart_state_script(state.autostart));
}

// Stores the main window's placement; nothing while it is minimised or unreadable. A maximised
// window stores the rectangle it comes back to, so that the next start can come back to it too.
void save_window_geometry(ShellHost& host, const NativeWindow& window) {
    if (window.is_minimized()) return;
    if (const auto normal = window.normal_geometry())
        host.write_state_file(kWindowFile, format_window_placement({*normal, window.is_maximized()}));
}

// The window's record when both the page that sent the event and the page the window shows now
// are the application's; nothing otherwise.
WindowRecord* commanding_window(ShellState& state, WindowId window, std::string_view source_page) {
    const auto found = state.windows.find(window);
    if (found == state.windows.end() || !in_app_origin(source_page)) return nullptr;
    const auto address = found->second.webview->page_address();
    if (!address || !in_app_origin(*address)) return nullptr;
    return &found->second;
}

// `told` hears of a failure: the window that asked, when it is still open on the application.
void apply_update(ShellHost& host, WindowRecord* told, LoopControl& control) {
    // That download may yet overwrite the staged file: its own end applies the update. Without an
    // update of its own, the shell has nothing to apply, whatever lies under the staged name.
    if (host.update_download_running() || !host.update_downloaded()) return;
    // Once the new process runs, this one ends, every window with it.
    if (host.apply_update())
        control = LoopControl::exit;
    else if (told)
        tell(*told, update_failed_script());
}

// Tells the window every state the shell reports as it changes, with the values it has now. Sign-in
// start is read again: Task Manager and Settings switch it without telling the shell.
void report_current_state(ShellState& state, ShellHost& host, WindowRecord& record) {
    state.autostart = host.read_autostart();
    for (const std::string& script : {
             max_state_script(record.maximized_reported),
             top_state_script(state.always_on_top),
             icon_state_script(state.icon_variant),
             autostart_state_script(state.autostart),
         })
        tell(record, script);
}

void handle_page_message(ShellState& state, ShellHost& host, const PageMessage& event, LoopControl& control) {
    WindowRecord* found = commanding_window(state, event.source_window, event.source_page);
    if (!found) return;
    WindowRecord& source = *found;

    const auto [kind, argument] = classify_message(event.message);
    switch (kind) {
    case MessageKind::icon_default:
    case MessageKind::icon_variant:
        set_icon_variant(state, host, argument);
        break;
    case MessageKind::always_on_top:
        set_always_on_top(state, host, argument == "1");
        break;
    case MessageKind::update_done:
        apply_update(host, &source, control);
        break;
    case MessageKind::update_fail:
        tell(source, update_failed_script());
        break;
    case MessageKind::minimize:
        source.native_window->minimize();
        break;
    case MessageKind::maximize:
        toggle_maximized(source);
        break;
    case MessageKind::snap_area:
        set_snap_area(source, argument);
        break;
    case MessageKind::drag:
        source.native_window->start_drag(kHitCaption);
        break;
    case MessageKind::resize:
        source.native_window->start_drag(resize_hit_test(argument));
        break;
    case MessageKind::close:
        remove_window(state, event.source_window, control);
        break;
    case MessageKind::saved:
        tell(source, saved_script(argument));
        break;
    case MessageKind::notify:
        host.show_notification(split_notification(argument));
        break;
    case MessageKind::notify_tagged:
        if (const auto request = split_tagged_notification(argument)) host.show_notification(*request);
        break;
    case MessageKind::open_window:
        open_extra_window(state, host, source, argument);
        break;
    case MessageKind::open_picker:
        open_picker(state, host, source, argument);
        break;
    case MessageKind::badge:
        set_badge(state, argument);
        break;
    case MessageKind::autostart:
        set_autostart(state, host, argument == "1");
        break;
    case MessageKind::report_state:
        report_current_state(state, host, source);
        break;
    case MessageKind::ignored:
        break;
    }
}

// Judged by the page that started the download alone: the user may have gone on to another site
// or closed the window meanwhile, and the update must still be applied. Only the telling needs
// the window open on the application.
void handle_download_ended(ShellState& state, ShellHost& host, const DownloadEnded& event, LoopControl& control) {
    if (!in_app_origin(event.source_page)) return;
    WindowRecord* told = commanding_window(state, event.source_window, event.source_page);
    switch (event.end.kind) {
    case DownloadEnd::Kind::update_finished:
        apply_update(host, told, control);
        break;
    case DownloadEnd::Kind::update_failed:
        if (told) tell(*told, update_failed_script());
        break;
    case DownloadEnd::Kind::saved:
        if (told) tell(*told, saved_script(event.end.file_name));
        break;
    }
}

void handle_window_event(ShellState& state, ShellHost& host, const WindowEvent& event, LoopControl& control) {
    const auto found = state.windows.find(event.window);
    if (found == state.windows.end()) return;
    WindowRecord& record = found->second;
    switch (event.kind) {
    case WindowEventKind::resized:
    case WindowEventKind::moved: {
        if (event.window == state.main_window) save_window_geometry(host, *record.native_window);
        const bool minimized = record.native_window->is_minimized();
        record.webview->set_visible(!minimized);
        // A minimised window reads as not maximised, though it comes back maximised: its state
        // is what it had before, until it is shown again.
        const bool maximized = record.native_window->is_maximized();
        if (!minimized && maximized != record.maximized_reported) {
            record.maximized_reported = maximized;
            tell(record, max_state_script(maximized));
        }
        break;
    }
    case WindowEventKind::close_requested:
        remove_window(state, event.window, control);
        break;
    case WindowEventKind::back_requested:
        record.webview->navigate(std::string(kOriginRoot));
        break;
    case WindowEventKind::snap_entered:
        follow_snap_pointer(record, SnapInput::entered);
        break;
    case WindowEventKind::snap_pressed:
        follow_snap_pointer(record, SnapInput::pressed);
        break;
    case WindowEventKind::snap_released:
        follow_snap_pointer(record, SnapInput::released);
        break;
    case WindowEventKind::snap_left:
        follow_snap_pointer(record, SnapInput::left);
        break;
    case WindowEventKind::taskbar_button_created:
        // The button is new (the window's first, or Explorer's after a restart): it has no overlay.
        if (state.badge.kind != BadgeKind::none) record.native_window->show_badge(state.badge);
        break;
    case WindowEventKind::page_replaced:
        // The new page sends its own rectangle once it has laid out its button.
        record.native_window->set_snap_area(std::nullopt);
        record.snap_pointer = SnapPointer::outside;
        record.page_loaded = false;
        break;
    case WindowEventKind::page_loaded:
        record.page_loaded = true;
        tell_clicked_tag(state);
        break;
    }
}

// A zoom reported by one window becomes every window's default, the zoomed one's too (the
// runtime keeps a user's zoom for the page shown only, and takes it back at the next
// navigation), and the next start's. A value the shell gave, reported back, changes nothing; one
// outside the range is not the user's.
void handle_zoom_changed(ShellState& state, ShellHost& host, const ZoomChanged& event) {
    if (!is_app_zoom(event.zoom) || event.zoom == state.zoom) return;
    state.zoom = event.zoom;
    host.write_state_file(kZoomFile, format_zoom(state.zoom));
    for (auto& [id, record] : state.windows) record.webview->set_zoom(state.zoom);
}

}  // namespace

void handle_event(ShellState& state, ShellHost& host, const LoopEvent& event, LoopControl& control) {
    control = LoopControl::wait;
    std::visit(Overloaded{
                   [&](const PageMessage& e) { handle_page_message(state, host, e, control); },
                   [&](const WindowEvent& e) { handle_window_event(state, host, e, control); },
                   [&](const DownloadEnded& e) { handle_download_ended(state, host, e, control); },
                   [&](const NotificationClicked& e) { notification_clicked(state, e); },
                   [&](const ZoomChanged& e) { handle_zoom_changed(state, host, e); },
               },
               event);
}

}  // namespace wm
