#include "loop_queue.h"

#include <utility>

namespace standin {
namespace {

constexpr wchar_t queue_class[] = L"StandinRuntimeQueue";

// WPARAM, LPARAM: unused. One message per queued task.
constexpr UINT run_task_message = WM_APP + 1;

}  // namespace

std::shared_ptr<LoopQueue> LoopQueue::create() {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = this_module();
    window_class.lpszClassName = queue_class;
    // A second environment in the process finds the class registered already.
    if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    UniqueWindow window(CreateWindowExW(0, queue_class, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, this_module(), nullptr));
    if (!window.get()) return nullptr;
    const HWND handle = window.get();
    auto queue = std::make_shared<LoopQueue>(std::move(window));
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(queue.get()));
    return queue;
}

LoopQueue::~LoopQueue() {
    if (window_.get()) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

bool LoopQueue::post(std::function<void()> task) noexcept {
    try {
        tasks_.push_back(std::move(task));
    } catch (...) {
        return false;
    }
    if (PostMessageW(window_.get(), run_task_message, 0, 0)) return true;
    tasks_.pop_back();
    return false;
}

bool LoopQueue::release() noexcept {
    if (!held_) return false;
    return post(std::exchange(held_, nullptr));
}

void LoopQueue::run_next() noexcept {
    if (tasks_.empty()) return;
    auto task = std::move(tasks_.front());
    tasks_.pop_front();
    try {
        task();
    } catch (...) {
        // Nothing may unwind into the host's message loop; the task's work is simply lost.
    }
    // Dropping the task may drop the last owner of this queue: nothing touches it afterwards.
}

LRESULT CALLBACK LoopQueue::window_proc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
    if (message == run_task_message) {
        if (auto* queue = reinterpret_cast<LoopQueue*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            queue->run_next();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace standin
