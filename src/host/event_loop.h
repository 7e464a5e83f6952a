#pragma once
// The user-interface thread's event loop: native messages plus a first-in, first-out queue of
// loop events, handed to one handler one at a time, in posting order, never re-entrantly.

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "base/loop_event.h"
#include "host/handles.h"

namespace wm::host {

class EventQueue;

// Posts events to the loop. Copies are cheap; posting after the loop ended drops the event.
class EventSender {
public:
    EventSender() = default;
    explicit EventSender(std::weak_ptr<EventQueue> queue) : queue_(std::move(queue)) {}
    bool post(LoopEvent event) const;

private:
    std::weak_ptr<EventQueue> queue_;
};

class EventLoop {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // Handles one posted event; false ends the loop with exit code 0.
    using Handler = std::function<bool(const LoopEvent& event)>;

    // Creates the loop's message-only window on the calling thread; nothing on failure.
    static std::unique_ptr<EventLoop> create();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    EventSender sender() const { return EventSender(queue_); }
    // For the window procedures: native window events join the same queue.
    void post(LoopEvent event) const;

    // Runs `task` later from the message loop: for work that must not happen inside a runtime
    // callback. Tasks run in order, even while the handler waits for a window. Call it on the
    // user-interface thread only.
    void defer(std::function<void()> task);

    // Runs `tick` from the message loop every `period`, waits included, until `stop_ticking`: for
    // what no event reports. One ticker: a later call replaces it.
    void start_ticking(std::chrono::milliseconds period, std::function<void()> tick);
    void stop_ticking();

    // Runs until the handler asks to exit or a quit message arrives, then drops the handler
    // (and whatever it owns) and returns the exit code.
    int run(Handler handler);

    // Pumps native messages until `done` holds, without handing queued events to the handler:
    // used while a window waits for its web view. False when a quit message ended the wait.
    bool run_until(const std::function<bool()>& done);
    // Pumps native messages as `run_until` does until one of `objects` is signalled, and returns
    // its index; nothing when the timeout passes, the wait fails or a quit message ends it.
    std::optional<std::size_t> run_until_signalled(std::span<const HANDLE> objects, std::chrono::milliseconds timeout);
    // Whether a quit message cut a wait short.
    bool quit_received() const { return quit_received_; }

    EventLoop(Passkey, std::shared_ptr<EventQueue> queue);

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    void handle_wake();
    void run_task();

    std::shared_ptr<EventQueue> queue_;
    UniqueWindow message_window_;
    Handler handler_;
    std::deque<std::function<void()>> tasks_;
    std::function<void()> tick_;
    bool handling_ = false;
    bool running_task_ = false;
    bool exit_requested_ = false;
    bool quit_received_ = false;
    int exit_code_ = 0;
};

}  // namespace wm::host
