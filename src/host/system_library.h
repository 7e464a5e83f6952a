#pragma once
// Functions of Windows' own DLLs that the executable does not import: found at run time, and
// loaded from System32 alone, so that a file of the same name beside the executable never runs.

#include <windows.h>

namespace wm::host {

// The module, once loaded, stays for the life of the process: the functions handed out point
// into it. Null when the DLL or the function is missing, which callers degrade around.
template <class Function>
Function system_function(const wchar_t* dll, const char* name) noexcept {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace wm::host
