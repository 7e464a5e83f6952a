#include "driver/windows.h"

#include <array>
#include <sstream>

#include "driver/wait.h"

namespace e2e {
namespace {

constexpr wchar_t kMessageBoxClass[] = L"#32770";

}  // namespace

std::vector<HWND> top_level_windows(DWORD process_id) {
    struct Search {
        DWORD process_id;
        std::vector<HWND> found;
    } search{process_id, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search.process_id) search.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring window_title(HWND window) {
    std::array<wchar_t, 512> text{};
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), length > 0 ? length : 0);
}

std::wstring window_class(HWND window) {
    std::array<wchar_t, 256> name{};
    const int length = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring(name.data(), length > 0 ? length : 0);
}

std::vector<HWND> titled_windows(DWORD process_id, const std::wstring& title) {
    std::vector<HWND> found;
    for (HWND window : top_level_windows(process_id))
        if (window_title(window) == title && window_class(window) != kMessageBoxClass)
            found.push_back(window);
    return found;
}

HWND wait_for_titled_window(DWORD process_id, const std::wstring& title) {
    return poll_for(kStartTimeout,
                    [&]() -> std::optional<HWND> {
                        for (HWND window : titled_windows(process_id, title))
                            if (IsWindowVisible(window)) return window;
                        return std::nullopt;
                    })
        .value_or(nullptr);
}

std::ostream& operator<<(std::ostream& out, const Size& size) {
    return out << size.width << "x" << size.height;
}

Size client_size(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

std::string to_string(const RECT& rect) {
    std::ostringstream text;
    text << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
    return text.str();
}

RECT window_rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT client_rect_on_screen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

HWND visible_child(HWND window, const std::wstring& child_class, const std::wstring& title) {
    // EnumChildWindows, not a GetWindow walk: the shell reorders its children while the walk runs
    // in another process, and a walk then skips some.
    struct Search {
        HWND parent;
        const std::wstring& child_class;
        const std::wstring& title;
        HWND found = nullptr;
    } search{window, child_class, title};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (GetParent(child) != s.parent || !IsWindowVisible(child) ||
                _wcsicmp(window_class(child).c_str(), s.child_class.c_str()) != 0)
                return TRUE;
            // A button's label as it reads: the "&" before its access key is not shown.
            std::wstring label = window_title(child);
            const bool exact = s.title.empty() || label == s.title;
            if (const auto amp = label.find(L'&'); amp != std::wstring::npos) label.erase(amp, 1);
            if (exact || (_wcsicmp(s.child_class.c_str(), L"Button") == 0 && label == s.title)) s.found = child;
            return s.found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::uint32_t> screen_pixels(const RECT& rect) {
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (memory && bitmap) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            const auto* first = static_cast<const std::uint32_t*>(bits);
            pixels.assign(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace e2e
