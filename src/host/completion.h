#pragma once
// What a runtime completion fills in. Shared with the handler, which may still run after a
// wait that a quit message cut short.

#include <windows.h>

#include "host/com.h"

namespace wm::host {

template <class Result>
struct Completion {
    bool done = false;
    HRESULT result = E_FAIL;
    ComPtr<Result> value;
};

}  // namespace wm::host
