#include "driver/standin.h"

#include "driver/wait.h"

namespace e2e {
namespace {

constexpr wchar_t kWebViewClass[] = L"StandinWebView";
constexpr UINT kSendTimeoutMs = 5000;

HWND find_web_view(HWND shell_window) {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumChildWindows(
        shell_window,
        [](HWND child, LPARAM context) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (std::wstring_view(name) != kWebViewClass) return TRUE;
            reinterpret_cast<Search*>(context)->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND wait_for_web_view(HWND shell_window) {
    return poll_for(kStartTimeout,
                    [&]() -> std::optional<HWND> {
                        if (HWND web_view = find_web_view(shell_window)) return web_view;
                        return std::nullopt;
                    })
        .value_or(nullptr);
}

bool send_command(HWND web_view, StandinCommand command, std::string_view payload) {
    COPYDATASTRUCT data{};
    data.dwData = static_cast<ULONG_PTR>(command);
    data.cbData = static_cast<DWORD>(payload.size());
    data.lpData = const_cast<char*>(payload.data());
    DWORD_PTR accepted = FALSE;
    // The stand-in answers at once and raises the event later, so a timeout means it is stuck.
    if (!SendMessageTimeoutW(web_view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &accepted))
        return false;
    return accepted == TRUE;
}

}  // namespace e2e
