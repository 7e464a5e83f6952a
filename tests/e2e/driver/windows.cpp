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

}  // namespace e2e
