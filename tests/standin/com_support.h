#pragma once
// What every COM object of the stand-in uses besides the project's own COM helpers.

#include <utility>

#include "host/com.h"
#include "host/webview2.h"

namespace standin {

using wm::host::ComObject;
using wm::host::ComPtr;
using wm::host::iid_of;

// make_com, handing out the object's own type for the stand-in's internal calls. Null when the
// allocation fails.
template <class Derived, class... Args>
ComPtr<Derived> make_object(Args&&... args) {
    const auto primary = wm::host::make_com<Derived>(std::forward<Args>(args)...);
    return ComPtr<Derived>(static_cast<Derived*>(primary.get()));
}

// Hands an object out through an out-parameter: the caller gets a reference of its own.
template <class Interface, class Object>
HRESULT hand_out(Object* object, Interface** out) noexcept {
    if (!out) return E_POINTER;
    *out = object;
    if (*out) (*out)->AddRef();
    return S_OK;
}

}  // namespace standin

// The COM methods of the stand-in are noexcept: an allocation failure inside one ends the process,
// which a test double may do.
//
// A method the shell does not use: it answers E_NOTIMPL and leaves an "unimplemented" line in
// the log, so that a test notices when the shell starts calling it. The class needs a member
// reporter_ (a standin::Reporter). The parameters are listed by type only.
#define STANDIN_UNUSED(method, ...)                                       \
    HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) noexcept override {     \
        return reporter_.unimplemented(#method);                          \
    }
