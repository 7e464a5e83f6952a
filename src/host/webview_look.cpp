// A web view's look: its zoom, kept in step with the shell's, and its colour before the first
// frame of its page, learned from the application's own pages.

#include "host/webview.h"

#include "host/text.h"

namespace wm::host {
namespace {

// The colour the page paints its window with: the root element's, or else the body's, as the
// browser fills the canvas; a translucent one says nothing (null).
constexpr char kBackgroundQuery[] =
    "(() => { for (const e of [document.documentElement, document.body]) { const c = e && "
    "getComputedStyle(e).backgroundColor; if (c && c.startsWith('rgb(')) return c; } return null; })()";

}  // namespace

HRESULT WebView2View::apply_look() {
    (void)controller_->put_ZoomFactor(look_.zoom);
    // Older runtimes have no default background: their first frame stays white.
    if (const auto controller2 = controller_.query<ICoreWebView2Controller2>()) {
        const COREWEBVIEW2_COLOR colour{255, static_cast<BYTE>(look_.background >> 16),
                                        static_cast<BYTE>(look_.background >> 8), static_cast<BYTE>(look_.background)};
        (void)controller2->put_DefaultBackgroundColor(colour);
    }
    HRESULT result = controller_->add_ZoomFactorChanged(
        make_handler<ICoreWebView2ZoomFactorChangedEventHandler>([this](ICoreWebView2Controller*, IUnknown*) {
            // Raised also when a navigation takes the page back to the default the shell gave,
            // which says nothing new; and a zoom of another site's page is that page's alone.
            const double zoom = zoom_factor();
            const auto page = page_address();
            if (zoom == look_.zoom || !page || !handlers_.is_app_page(*page)) return;
            handlers_.zoom_changed(zoom);
        }).get(),
        &zoom_token_);
    if (FAILED(result)) return result;
    return behaviour_.attach(*webview_.get());
}

void WebView2View::drop_look() noexcept {
    behaviour_.detach();
    if (controller_) (void)controller_->remove_ZoomFactorChanged(zoom_token_);
}

void WebView2View::read_background() {
    if (!webview_) return;
    // The answer is judged by the page that gives it: another may be there by then.
    (void)webview_->ExecuteScript(
        to_wide(kBackgroundQuery).c_str(),
        make_handler<ICoreWebView2ExecuteScriptCompletedHandler>([view = webview_,
                                                                  is_app_page = handlers_.is_app_page,
                                                                  read = handlers_.background_read](HRESULT error,
                                                                                                    LPCWSTR answer) {
            CoTaskString now;
            if (FAILED(error) || !answer || FAILED(view->get_Source(now.put())) || !now.get() ||
                !is_app_page(to_utf8(now.get())))
                return;
            read(std::u16string_view(reinterpret_cast<const char16_t*>(answer)));
        }).get());
}

void WebView2View::set_zoom(double zoom) {
    look_.zoom = zoom;
    if (controller_) (void)controller_->put_ZoomFactor(zoom);
}

}  // namespace wm::host
