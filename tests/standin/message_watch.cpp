#include "message_watch.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "text.h"

namespace standin {
namespace {

constexpr wchar_t kNoWatchVariable[] = L"STANDIN_NO_MESSAGE_WATCH";

class UniqueHook {
public:
    UniqueHook() noexcept = default;
    explicit UniqueHook(HHOOK hook) noexcept : hook_(hook) {}
    UniqueHook(UniqueHook&& other) noexcept : hook_(std::exchange(other.hook_, nullptr)) {}
    UniqueHook& operator=(UniqueHook&& other) noexcept {
        std::swap(hook_, other.hook_);
        return *this;
    }
    ~UniqueHook() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }

private:
    HHOOK hook_ = nullptr;
};

class UniqueEventHook {
public:
    UniqueEventHook() noexcept = default;
    explicit UniqueEventHook(HWINEVENTHOOK hook) noexcept : hook_(hook) {}
    UniqueEventHook(UniqueEventHook&& other) noexcept : hook_(std::exchange(other.hook_, nullptr)) {}
    UniqueEventHook& operator=(UniqueEventHook&& other) noexcept {
        std::swap(hook_, other.hook_);
        return *this;
    }
    ~UniqueEventHook() {
        if (hook_) UnhookWinEvent(hook_);
    }

private:
    HWINEVENTHOOK hook_ = nullptr;
};

struct ThreadWatches {
    UniqueHook posted;  // WH_GETMESSAGE: messages taken from the queue
    UniqueHook sent;    // WH_CALLWNDPROC: messages sent to a window procedure
    UniqueEventHook live_region;  // what a screen reader hears of a live region's change
    std::vector<const MessageWatch*> watches;
};

// A hook procedure gets no context of its own, so the watches of a thread are kept with the thread.
thread_local ThreadWatches thread_watches;

void observe_all(HWND window, UINT message, WPARAM wparam, LPARAM lparam, bool posted) {
    if (!thread_watches.watches.empty()) thread_watches.watches.front()->count(window, posted);
    for (const MessageWatch* watch : thread_watches.watches) watch->observe(window, message, wparam, lparam);
}

LRESULT CALLBACK posted_message_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    // A peek that leaves the message in the queue would show it twice.
    if (code == HC_ACTION && wparam == PM_REMOVE) {
        const auto* message = reinterpret_cast<const MSG*>(lparam);
        try {
            observe_all(message->hwnd, message->message, message->wParam, message->lParam, true);
        } catch (...) {
            // A line that cannot be made is lost; the test that needs it fails on its absence.
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK sent_message_hook(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lparam);
        try {
            observe_all(message->hwnd, message->message, message->wParam, message->lParam, false);
        } catch (...) {
            // As above.
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void CALLBACK live_region_hook(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) noexcept {
    if (!window || object != OBJID_CLIENT || child != CHILDID_SELF) return;
    try {
        for (const MessageWatch* watch : thread_watches.watches) watch->observe_live_region(window);
    } catch (...) {
        // As above.
    }
}

}  // namespace

MessageWatch::MessageWatch(HWND parent, Reporter reporter)
    : top_level_(GetAncestor(parent, GA_ROOT)), reporter_(std::move(reporter)) {
    auto& thread = thread_watches;
    // Under Wine every hooked message costs server round trips: a benchmark turns them off.
    if (thread.watches.empty() && !environment_variable(kNoWatchVariable)) {
        const DWORD thread_id = GetCurrentThreadId();
        thread.posted = UniqueHook(SetWindowsHookExW(WH_GETMESSAGE, posted_message_hook, nullptr, thread_id));
        thread.sent = UniqueHook(SetWindowsHookExW(WH_CALLWNDPROC, sent_message_hook, nullptr, thread_id));
        thread.live_region = UniqueEventHook(SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED,
                                                             nullptr, live_region_hook, GetCurrentProcessId(),
                                                             thread_id, WINEVENT_OUTOFCONTEXT));
    }
    thread.watches.push_back(this);
}

MessageWatch::~MessageWatch() {
    auto& thread = thread_watches;
    std::erase(thread.watches, this);
    if (thread.watches.empty()) {
        thread.posted = UniqueHook();
        thread.sent = UniqueHook();
        thread.live_region = UniqueEventHook();
    }
}

void MessageWatch::observe_live_region(HWND window) const {
    if (!top_level_ || GetAncestor(window, GA_ROOT) != top_level_) return;
    wchar_t text[512]{};
    const int length = GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    reporter_.write("live_region", std::wstring(text, static_cast<std::size_t>(std::max(length, 0))));
}

void MessageWatch::observe(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const {
    if (window != top_level_ || !top_level_) return;
    switch (message) {
    case WM_NCLBUTTONDOWN:
        reporter_.write("window_message", "WM_NCLBUTTONDOWN " + std::to_string(wparam));
        break;
    case WM_ENTERSIZEMOVE:
        reporter_.write("window_message", "WM_ENTERSIZEMOVE");
        break;
    case WM_EXITSIZEMOVE:
        reporter_.write("window_message", "WM_EXITSIZEMOVE");
        break;
    case WM_INITMENUPOPUP:
        reporter_.write("window_message", std::string("WM_INITMENUPOPUP system=") + (HIWORD(lparam) ? "1" : "0"));
        break;
    case WM_WINDOWPOSCHANGING: {
        // A request that changes nothing gets no WM_WINDOWPOSCHANGED, yet it was made.
        const HWND insert_after = reinterpret_cast<const WINDOWPOS*>(lparam)->hwndInsertAfter;
        if (insert_after == HWND_TOPMOST || insert_after == HWND_NOTOPMOST)
            reporter_.write("window_message", std::string("WM_WINDOWPOSCHANGING ") +
                                                  (insert_after == HWND_TOPMOST ? "HWND_TOPMOST" : "HWND_NOTOPMOST"));
        break;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto flags = reinterpret_cast<const WINDOWPOS*>(lparam)->flags;
        if (flags & SWP_NOZORDER) break;
        const bool topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        reporter_.write("window_message",
                        "WM_WINDOWPOSCHANGED flags=" + hex(flags) + " topmost=" + (topmost ? "1" : "0"));
        break;
    }
    default:
        break;
    }
}

}  // namespace standin
