#include "page_window.h"

#include <algorithm>

namespace standin {
namespace {

constexpr wchar_t page_class[] = L"StandinWebView";
constexpr size_t shown_calls = 8;
constexpr size_t shown_call_length = 160;

}  // namespace

std::unique_ptr<PageWindow> PageWindow::create(HWND parent, CommandSink sink) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = this_module();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = page_class;
    if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    auto page = std::make_unique<PageWindow>(std::move(sink));
    // Empty until the host sets the bounds, which it must do to see anything.
    const HWND window = CreateWindowExW(0, page_class, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                        0, 0, 0, 0, parent, nullptr, this_module(), page.get());
    if (!window) {
        const DWORD error = GetLastError();
        page.reset();
        SetLastError(error);
        return nullptr;
    }
    return page;
}

PageWindow::~PageWindow() {
    if (HWND window = window_.get()) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

void PageWindow::set_bounds(const RECT& bounds) {
    SetWindowPos(window_.get(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PageWindow::set_visible(bool visible) {
    ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

void PageWindow::focus() { SetFocus(window_.get()); }

void PageWindow::show_address(std::wstring address) {
    address_ = std::move(address);
    redraw();
}

void PageWindow::record_call(std::wstring call) {
    if (call.size() > shown_call_length) call.resize(shown_call_length);
    // One line per call: a script's line breaks and tabs would draw as boxes.
    std::replace_if(call.begin(), call.end(), [](wchar_t c) { return c < L' '; }, L' ');
    recent_calls_.push_back(std::move(call));
    if (recent_calls_.size() > shown_calls) recent_calls_.pop_front();
    redraw();
}

void PageWindow::redraw() const {
    // Once per paint: under Wine every invalidation is a server round trip, which a stream of script
    // calls would otherwise charge to the shell's thread.
    if (!window_.get() || redraw_pending_) return;
    InvalidateRect(window_.get(), nullptr, TRUE);
    redraw_pending_ = true;
}

void PageWindow::paint() const {
    redraw_pending_ = false;
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window_.get(), &ps);
    const HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line_height = metrics.tmHeight + metrics.tmExternalLeading + 2;
    int y = 8;
    auto line = [&](const std::wstring& text) {
        TextOutW(dc, 8, y, text.c_str(), static_cast<int>(text.size()));
        y += line_height;
    };
    line(L"Stand-in WebView2 runtime");
    line(L"Address: " + address_);
    y += line_height / 2;
    line(L"Recent calls into the page:");
    for (const auto& call : recent_calls_) line(L"  " + call);
    SelectObject(dc, old_font);
    EndPaint(window_.get(), &ps);
}

LRESULT PageWindow::on_copy_data(const COPYDATASTRUCT& data) noexcept {
    try {
        std::string payload(static_cast<const char*>(data.lpData), data.cbData);
        return sink_(data.dwData, std::move(payload)) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

LRESULT CALLBACK PageWindow::window_proc(HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
        auto* page = static_cast<PageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        page->window_ = UniqueWindow(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page));
    }
    auto* page = reinterpret_cast<PageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!page) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
        case WM_PAINT:
            try {
                page->paint();
            } catch (...) {
                ValidateRect(window, nullptr);  // no second try: the next change repaints
            }
            return 0;
        case WM_COPYDATA:
            if (!lparam) return FALSE;
            return page->on_copy_data(*reinterpret_cast<const COPYDATASTRUCT*>(lparam));
        case WM_NCDESTROY:
            // The parent took this window with it: forget the handle before it is reused.
            page->window_.forget();
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace standin
