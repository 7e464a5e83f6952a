#pragma once
// Owners of the kernel and window handles the stand-in opens.

#include <windows.h>

#include <utility>

namespace standin {

class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~UniqueHandle() {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const noexcept { return handle_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Destroys its window unless the window is already gone: a child window dies with its parent,
// so the owner calls forget() from WM_NCDESTROY to avoid destroying a recycled handle later.
class UniqueWindow {
public:
    UniqueWindow() noexcept = default;
    explicit UniqueWindow(HWND window) noexcept : window_(window) {}
    UniqueWindow(UniqueWindow&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    UniqueWindow& operator=(UniqueWindow&& other) noexcept {
        std::swap(window_, other.window_);
        return *this;
    }
    ~UniqueWindow() { reset(); }
    void reset() noexcept {
        if (HWND window = std::exchange(window_, nullptr)) DestroyWindow(window);
    }
    void forget() noexcept { window_ = nullptr; }
    HWND get() const noexcept { return window_; }

private:
    HWND window_ = nullptr;
};

// The module this code is linked into: the DLL, whose window classes must be registered with it.
HINSTANCE this_module() noexcept;

}  // namespace standin
