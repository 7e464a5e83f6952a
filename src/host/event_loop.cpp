#include "host/event_loop.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "host/messages.h"

namespace wm::host {
namespace {
constexpr wchar_t kLoopWindowClass[] = L"wispermoth.loop";
constexpr UINT_PTR kTickTimer = 1;

// A slim lock of the system's own: std::mutex brings the threads library and its exceptions into
// the program for a lock that cannot fail.
class SlimLock {
public:
    void lock() noexcept { AcquireSRWLockExclusive(&lock_); }
    void unlock() noexcept { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
}  // namespace

// The queue shared between the loop and its senders.
class EventQueue {
public:
    explicit EventQueue(HWND wake_window) : wake_window_(wake_window) {}
    bool push(LoopEvent event);
    std::optional<LoopEvent> pop();
    // Posts a wake message unless one is already on its way; at most one is outstanding, so a
    // burst of events can never overflow the thread's message queue.
    bool wake();
    void woken();

private:
    SlimLock mutex_;
    std::deque<LoopEvent> events_;
    HWND wake_window_;
    bool wake_pending_ = false;
};

bool EventQueue::push(LoopEvent event) {
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    return wake();
}

std::optional<LoopEvent> EventQueue::pop() {
    std::lock_guard lock(mutex_);
    if (events_.empty()) return std::nullopt;
    LoopEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
}

bool EventQueue::wake() {
    std::lock_guard lock(mutex_);
    if (wake_pending_ || events_.empty()) return true;
    wake_pending_ = PostMessageW(wake_window_, kWakeMessage, 0, 0) != FALSE;
    return wake_pending_;
}

void EventQueue::woken() {
    std::lock_guard lock(mutex_);
    wake_pending_ = false;
}

bool EventSender::post(LoopEvent event) const {
    const auto queue = queue_.lock();
    return queue && queue->push(std::move(event));
}

std::unique_ptr<EventLoop> EventLoop::create() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &EventLoop::window_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = kLoopWindowClass;
    RegisterClassExW(&window_class);  // an earlier registration in this process is fine

    UniqueWindow window(
        CreateWindowExW(0, kLoopWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
    if (!window) return nullptr;
    auto loop = std::make_unique<EventLoop>(Passkey{}, std::make_shared<EventQueue>(window.get()));
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(loop.get()));
    loop->message_window_ = std::move(window);
    return loop;
}

EventLoop::EventLoop(Passkey, std::shared_ptr<EventQueue> queue) : queue_(std::move(queue)) {}

EventLoop::~EventLoop() {
    if (message_window_) SetWindowLongPtrW(message_window_.get(), GWLP_USERDATA, 0);
}

void EventLoop::post(LoopEvent event) const {
    if (queue_) (void)queue_->push(std::move(event));  // after the loop ended, nothing listens
}

void EventLoop::defer(std::function<void()> task) {
    tasks_.push_back(std::move(task));
    if (!PostMessageW(message_window_.get(), kTaskMessage, 0, 0)) tasks_.pop_back();
}

void EventLoop::start_ticking(std::chrono::milliseconds period, std::function<void()> tick) {
    tick_ = std::move(tick);
    if (!SetTimer(message_window_.get(), kTickTimer, static_cast<UINT>(period.count()), nullptr)) tick_ = nullptr;
}

void EventLoop::stop_ticking() {
    (void)KillTimer(message_window_.get(), kTickTimer);
    tick_ = nullptr;
}

void EventLoop::run_task() {
    // One task at a time: a task that pumps messages (a web view being rebuilt) must not find
    // another running inside it. The next waits for a new turn.
    if (tasks_.empty() || running_task_) return;
    auto task = std::move(tasks_.front());
    tasks_.pop_front();
    // Queued events wait while a task runs, as they do while the handler waits for a window, so
    // that the handler never finds a window in the middle of a task's work.
    const bool was_handling = std::exchange(handling_, true);
    running_task_ = true;
    struct Restore {
        EventLoop& loop;
        bool was_handling;
        ~Restore() {
            loop.running_task_ = false;
            loop.handling_ = was_handling;
            if (!loop.tasks_.empty()) (void)PostMessageW(loop.message_window_.get(), kTaskMessage, 0, 0);
            if (!was_handling && loop.queue_) (void)loop.queue_->wake();
        }
    } restore{*this, was_handling};
    task();
}

int EventLoop::run(Handler handler) {
    handler_ = std::move(handler);
    exit_requested_ = false;
    (void)queue_->wake();  // events posted before the loop started
    MSG message;
    while (!exit_requested_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exit_code_ = 0;  // a quit message ends the shell normally
            break;
        }
        if (got == -1) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Dropping the handler releases the shell state: every web view, then every window.
    handler_ = nullptr;
    queue_.reset();
    return exit_code_;
}

bool EventLoop::run_until(const std::function<bool()>& done) {
    MSG message;
    while (!done()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            quit_received_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));  // let the outer loop see it too
            return false;
        }
        if (got == -1) return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

std::optional<std::size_t> EventLoop::run_until_signalled(std::span<const HANDLE> objects,
                                                          std::chrono::milliseconds timeout) {
    using std::chrono::milliseconds;
    const auto count = static_cast<DWORD>(objects.size());
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::max(
            std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now()), milliseconds(0));
        // The objects come before the input in the answer: a signal wins over waiting messages.
        const DWORD woke = MsgWaitForMultipleObjectsEx(count, objects.data(), static_cast<DWORD>(left.count()),
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke < WAIT_OBJECT_0 + count) return woke - WAIT_OBJECT_0;
        if (woke != WAIT_OBJECT_0 + count) return std::nullopt;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit_received_ = true;
                PostQuitMessage(static_cast<int>(message.wParam));  // let the outer loop see it too
                return std::nullopt;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // A steady stream of messages must not stretch the wait past its end.
        if (left == milliseconds(0)) return std::nullopt;
    }
}

void EventLoop::handle_wake() {
    queue_->woken();
    // A nested wait (a window waiting for its web view) keeps events queued for later.
    if (handling_ || !handler_ || exit_requested_) return;
    if (const auto event = queue_->pop()) {
        handling_ = true;
        const bool carry_on = handler_(*event);
        handling_ = false;
        if (!carry_on) {
            exit_requested_ = true;
            exit_code_ = 0;
            return;
        }
    }
    (void)queue_->wake();
}

LRESULT CALLBACK EventLoop::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == kWakeMessage) {
        if (auto* loop = reinterpret_cast<EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            try {
                loop->handle_wake();
            } catch (...) {
                // An event whose handling threw is dropped; the loop carries on with the next.
                loop->handling_ = false;
                (void)loop->queue_->wake();
            }
        }
        return 0;
    }
    if (message == kTaskMessage) {
        if (auto* loop = reinterpret_cast<EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            try {
                loop->run_task();
            } catch (...) {
                // A failing task is dropped; the others still run.
            }
        }
        return 0;
    }
    if (message == WM_TIMER && wparam == kTickTimer) {
        if (auto* loop = reinterpret_cast<EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA)); loop && loop->tick_) {
            const auto tick = loop->tick_;  // the tick may stop the ticker
            try {
                tick();
            } catch (...) {
                // A failing tick is dropped; the next one comes.
            }
        }
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace wm::host
