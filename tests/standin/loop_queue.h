#pragma once
// Work that the runtime does later, from the host's own message loop. A real runtime never calls
// a completion handler or raises an event inside the host's call into it; the stand-in queues
// such work behind a message-only window on the host's thread and runs it when the loop
// dispatches the window's message.

#include <deque>
#include <functional>
#include <memory>

#include "handles.h"

namespace standin {

class LoopQueue {
public:
    // On the calling thread, which must run a message loop. Null when the window cannot be made.
    static std::shared_ptr<LoopQueue> create();

    explicit LoopQueue(UniqueWindow window) noexcept : window_(std::move(window)) {}
    LoopQueue(const LoopQueue&) = delete;
    LoopQueue& operator=(const LoopQueue&) = delete;
    ~LoopQueue();

    // Runs the task in a later turn of the loop, one task per turn, in posting order. False when
    // the loop cannot be reached (the task is then dropped).
    bool post(std::function<void()> task) noexcept;
    // Keeps the task back until `release`, which posts it; a test holds a completion this way.
    void hold(std::function<void()> task) noexcept { held_ = std::move(task); }
    bool release() noexcept;

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept;
    void run_next() noexcept;

    UniqueWindow window_;
    std::deque<std::function<void()>> tasks_;
    std::function<void()> held_;
};

}  // namespace standin
