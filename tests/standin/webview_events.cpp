// The control channel of the tests: commands that arrive at the page window in WM_COPYDATA and
// raise, one loop turn later, the events a real page or download would raise.

#include <cstdlib>

#include "app_look.h"
#include "download_operation.h"
#include "event_args.h"
#include "notify/winrt_toast_win.h"
#include "text.h"
#include "webview.h"

namespace standin {
namespace {

// COPYDATASTRUCT::dwData of each command; PROTOCOL.md gives the payloads.
enum Command : ULONG_PTR {
    post_message = 1,
    set_source = 2,
    new_window = 3,
    permission = 4,
    download = 5,
    post_messages = 6,
    post_message_from = 7,
    post_json = 8,
    process_failed = 9,
    release_controller = 10,
    reload = 11,
    end_download = 12,
    class_object = 13,
    context_menu = 14,
    zoom = 15,
    no_network = 16,
    network_back = 17,
    start_navigation = 18,
    tab_out = 19,
    key = 20,
};

constexpr char message_separator = '\x1f';

std::string_view command_name(ULONG_PTR command) {
    switch (command) {
        case post_message: return "post_message";
        case set_source: return "set_source";
        case new_window: return "new_window";
        case permission: return "permission";
        case download: return "download";
        case post_messages: return "post_messages";
        case post_message_from: return "post_message_from";
        case post_json: return "post_json";
        case process_failed: return "process_failed";
        case release_controller: return "release_controller";
        case reload: return "reload";
        case end_download: return "end_download";
        case class_object: return "class_object";
        case context_menu: return "context_menu";
        case zoom: return "zoom";
        case no_network: return "no_network";
        case network_back: return "network_back";
        case start_navigation: return "start_navigation";
        case tab_out: return "tab_out";
        case key: return "key";
        default: return {};
    }
}

std::string flag(BOOL value) { return value ? "1" : "0"; }

}  // namespace

bool WebView::accept_command(ULONG_PTR command, std::string payload) {
    if (command_name(command).empty() || closed_) return false;
    // The sender waits inside SendMessage: the event comes later, from the loop, as a real
    // page's would.
    return loop_->post([self = ComPtr<WebView>(this), command, payload = std::move(payload)] {
        self->run_command(command, payload);
    });
}

void WebView::run_command(ULONG_PTR command, const std::string& payload) {
    if (closed_) return;
    reporter_.write("command", std::string(command_name(command)) + " " + payload);
    switch (command) {
        case post_message:
            raise_web_messages({payload});
            return;
        case tab_out:
        case key:
            if (keyboard_ && keyboard_(command_name(command), payload)) return;
            break;
        case post_messages:
            raise_web_messages(split(payload, message_separator));
            return;
        case post_message_from: {
            // A page that posted just before the window navigated elsewhere.
            const auto tab = payload.find('\t');
            if (tab == std::string::npos) break;
            raise_web_messages({std::string_view(payload).substr(tab + 1)},
                               to_utf16(std::string_view(payload).substr(0, tab)));
            return;
        }
        case post_json:
            if (!closed_) {
                if (const auto args = WebMessageArgs::from_json(source_, to_utf16(payload), reporter_)) {
                    for (const auto& handler : web_message_received_.handlers()) (void)handler->Invoke(this, args.get());
                }
            }
            return;
        case process_failed:
            if (const auto kind = parse_decimal(payload)) {
                if (*kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
                    browser_->exit();
                } else {
                    raise_process_failed(static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(*kind));
                }
                return;
            }
            break;
        case release_controller:
            if (loop_->release()) return;
            break;
        case set_source:
            change_source(to_utf16(payload));
            return;
        case start_navigation:
            raise_navigation_starting(to_utf16(payload));
            return;
        case reload:
            // The page reloaded itself (F5, location.reload(), a link to its own address).
            if (payload.empty()) {
                load_document();
                return;
            }
            break;
        case context_menu:
            raise_context_menu(split(payload, ' '));
            return;
        case zoom: {
            char* end = nullptr;
            const double factor = std::strtod(payload.c_str(), &end);
            if (end == payload.c_str() || *end != '\0' || !user_zoom_) break;
            user_zoom_(factor);
            return;
        }
        case no_network:
        case network_back:
            if (!payload.empty()) break;
            browser_->set_offline(command == no_network);
            return;
        case class_object: {
            // As the system asks for a toast's activator in this process: the process's own
            // registration answers, with no proxy. With an identity and arguments, the click that
            // COM hands to the server it started: an activator made and told to Activate.
            const auto fields = split(payload, '\t');
            CLSID clsid{};
            if ((fields.size() != 1 && fields.size() != 3) || FAILED(CLSIDFromString(to_utf16(fields[0]).c_str(), &clsid)))
                break;
            IUnknown* object = nullptr;
            HRESULT hr = CoGetClassObject(clsid, CLSCTX_LOCAL_SERVER, nullptr, IID_IUnknown,
                                          reinterpret_cast<void**>(&object));
            if (object) object->Release();
            reporter_.write("class_object", hresult_text(hr));
            if (fields.size() == 3 && SUCCEEDED(hr)) {
                ComPtr<INotificationActivationCallback> activator;
                hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER,
                                      wm::host::iid_of<INotificationActivationCallback>,
                                      reinterpret_cast<void**>(activator.put()));
                if (SUCCEEDED(hr))
                    hr = activator->Activate(to_utf16(fields[1]).c_str(), to_utf16(fields[2]).c_str(), nullptr, 0);
                reporter_.write("activate", hresult_text(hr));
            }
            return;
        }
        case new_window: {
            // "uri", or "uri\tscripted" for a request the user did not start (a timer's window.open),
            // or "uri\tclicked|scripted\tframe" for one from a frame at that address (an iframe).
            const auto fields = split(payload, '\t');
            if (fields.size() == 1 ||
                (fields.size() <= 3 && (fields[1] == "scripted" || (fields[1] == "clicked" && fields.size() == 3)))) {
                raise_new_window(to_utf16(fields[0]), fields.size() == 1 || fields[1] == "clicked" ? TRUE : FALSE,
                                 fields.size() == 3 ? to_utf16(fields[2]) : source_);
                return;
            }
            break;
        }
        case permission:
            if (const auto kind = parse_decimal(payload)) {
                raise_permission(static_cast<COREWEBVIEW2_PERMISSION_KIND>(*kind));
                return;
            }
            break;
        case download: {
            const auto fields = split(payload, '\t');
            if (fields.size() < 3 || fields.size() > 4) break;
            std::optional<std::wstring> content_file;
            if (fields.size() == 4) content_file = to_utf16(fields[3]);
            if (fields[2] == "completed" || fields[2] == "interrupted" || fields[2] == "held") {
                std::optional<COREWEBVIEW2_DOWNLOAD_STATE> final_state;
                if (fields[2] != "held")
                    final_state = fields[2] == "completed" ? COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED
                                                           : COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED;
                raise_download(to_utf16(fields[0]), to_utf16(fields[1]), final_state, std::move(content_file));
                return;
            }
            break;
        }
        case end_download: {
            // "completed" or "interrupted", then a tab and another content file for a completed one.
            const auto fields = split(payload, '\t');
            if (fields.empty() || fields.size() > 2 || (fields[0] != "completed" && fields[0] != "interrupted"))
                break;
            auto held = browser_->release_download();
            if (!held) break;
            if (fields.size() == 2) held->content_file = to_utf16(fields[1]);
            held->operation->finish(fields[0] == "completed" ? COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED
                                                             : COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED,
                                    held->content_file);
            return;
        }
        default:
            break;
    }
    reporter_.write("bad_command", payload);
}

void WebView::raise_web_messages(const std::vector<std::string_view>& texts,
                                 std::optional<std::wstring> sender) {
    for (const auto text : texts) {
        if (closed_) return;  // a handler closed the web view: the page is gone
        const auto args =
            wm::host::make_com<WebMessageArgs>(sender ? *sender : source_, to_utf16(text), reporter_);
        if (!args) return;
        for (const auto& handler : web_message_received_.handlers()) {
            (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
        }
    }
}

void WebView::raise_new_window(std::wstring uri, BOOL user_initiated, std::wstring frame_source) {
    auto answer = std::make_shared<PendingAnswer>();
    const auto args =
        make_object<NewWindowArgs>(std::move(uri), user_initiated, std::move(frame_source), answer, reporter_);
    if (!args) return;
    answer->set_reader([reporter = reporter_, args](bool deferred) {
        BOOL handled = FALSE;
        ComPtr<ICoreWebView2> new_window;
        (void)args->get_Handled(&handled);  // cannot fail: it reads a field
        (void)args->get_NewWindow(new_window.put());
        reporter.write("new_window_result", "handled=" + flag(handled) + " new_window=" +
                                                flag(new_window ? TRUE : FALSE) +
                                                " deferral=" + flag(deferred));
    });
    for (const auto& handler : new_window_requested_.handlers()) {
        (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
    }
    answer->handlers_returned();
}

void WebView::raise_context_menu(const std::vector<std::string_view>& names) {
    const auto items = make_object<MenuItems>(reporter_);
    if (!items) return;
    for (const auto name : names) {
        if (auto item = make_object<MenuItem>(to_utf16(name), reporter_)) items->items().push_back(std::move(item));
    }
    const auto args = make_object<ContextMenuArgs>(items, reporter_);
    if (!args) return;
    for (const auto& handler : context_menu_requested_.handlers()) (void)handler->Invoke(this, args.get());
    std::wstring left;
    for (const auto& item : items->items()) left += (left.empty() ? L"" : L" ") + item->name();
    reporter_.write("context_menu_result", left);
}

void WebView::raise_permission(COREWEBVIEW2_PERMISSION_KIND kind) {
    auto answer = std::make_shared<PendingAnswer>();
    const auto args = make_object<PermissionArgs>(source_, kind, answer);
    if (!args) return;
    answer->set_reader([reporter = reporter_, args, kind](bool) {
        COREWEBVIEW2_PERMISSION_STATE state = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
        (void)args->get_State(&state);  // cannot fail: it reads a field
        reporter.write("permission_result",
                       "kind=" + std::to_string(kind) + " state=" + std::to_string(state));
    });
    for (const auto& handler : permission_requested_.handlers()) {
        (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
    }
    answer->handlers_returned();
}

void WebView::raise_download(std::wstring uri, std::wstring proposed_path,
                             std::optional<COREWEBVIEW2_DOWNLOAD_STATE> final_state,
                             std::optional<std::wstring> content_file) {
    raise_navigation_starting(uri);  // as the navigation that becomes the download
    if (closed_) return;
    const auto operation = make_object<DownloadOperation>(std::move(uri), proposed_path, reporter_, open_);
    if (!operation) return;
    auto answer = std::make_shared<PendingAnswer>();
    const auto args = make_object<DownloadStartingArgs>(
        ComPtr<ICoreWebView2DownloadOperation>(operation.get()), std::move(proposed_path), answer);
    if (!args) return;
    answer->set_reader([reporter = reporter_, loop = loop_, browser = browser_, args, operation, final_state,
                        content_file = std::move(content_file)](bool) {
        wm::host::CoTaskString copied_path;
        BOOL handled = FALSE;
        BOOL cancel = FALSE;
        // These read fields; only the path's copy can fail, for want of memory.
        (void)args->get_ResultFilePath(copied_path.put());
        (void)args->get_Handled(&handled);
        (void)args->get_Cancel(&cancel);
        const std::wstring path = copied_path.get() ? copied_path.get() : L"";
        reporter.write("download_result", L"path=" + path + L" handled=" +
                                              (handled ? L"1" : L"0") + L" cancel=" +
                                              (cancel ? L"1" : L"0"));
        operation->set_result_path(path);
        // A cancelled download never runs, whatever the test asked for.
        if (!cancel && !final_state) {
            browser->hold({operation, content_file});
            return;
        }
        const auto state = cancel ? COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED : *final_state;
        (void)loop->post([operation, state, content_file] {  // a lost post loses the download
            operation->finish(state, content_file);
        });
    });
    for (const auto& handler : download_starting_.handlers()) {
        (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
    }
    answer->handlers_returned();
    // The navigation that became the download ends unsuccessful, with no document of its own
    // (WebView2Feedback issues 2163 and 5172).
    const auto completed =
        make_object<NavigationCompletedArgs>(next_navigation_id_++, COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED, 0);
    if (!completed || closed_) return;
    reporter_.write("navigation_completed", "success=0 status=9");
    for (const auto& handler : navigation_completed_.handlers()) (void)handler->Invoke(this, completed.get());
}

}  // namespace standin
