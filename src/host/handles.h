#pragma once
// Owners for the Win32 handles the shell keeps.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace wm::host {

template <class Handle, auto Close>
struct HandleCloser {
    void operator()(Handle handle) const noexcept { (void)Close(handle); }
};

template <class Handle, auto Close>
using UniqueHandleOf = std::unique_ptr<std::remove_pointer_t<Handle>, HandleCloser<Handle, Close>>;

using UniqueWindow = UniqueHandleOf<HWND, &DestroyWindow>;
using UniqueIcon = UniqueHandleOf<HICON, &DestroyIcon>;
using UniqueKey = UniqueHandleOf<HKEY, &RegCloseKey>;
using UniqueFile = UniqueHandleOf<HANDLE, &CloseHandle>;
using UniqueKernelHandle = UniqueHandleOf<HANDLE, &CloseHandle>;  // processes and threads
using UniqueSearch = UniqueHandleOf<HANDLE, &FindClose>;
using UniqueFont = UniqueHandleOf<HFONT, &DeleteObject>;
using UniqueBrush = UniqueHandleOf<HBRUSH, &DeleteObject>;

// CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE, not null.
inline UniqueFile adopt_file(HANDLE handle) noexcept {
    return UniqueFile(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
inline UniqueSearch adopt_search(HANDLE handle) noexcept {
    return UniqueSearch(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace wm::host
