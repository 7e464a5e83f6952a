#include "notify/toast_activator_win.h"

#include <string>

#include "base/product.h"
#include "host/text.h"
#include "notify/notification.h"
#include "notify/winrt_toast_win.h"

namespace wm::host {
template <>
inline constexpr GUID iid_of<IClassFactory> = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}  // namespace wm::host

namespace wm {
namespace {

using host::ComObject;
using host::ComPtr;

// What Windows calls for a click. The arguments are the toast's launch attribute, null for a
// toast without one; any local program may call with arguments of its own, so only a tag as the
// shell writes them is taken. The input is ignored: the shell's toasts have no input fields.
class Activator final : public ComObject<INotificationActivationCallback> {
public:
    explicit Activator(ToastActivator::Clicked clicked) : clicked_(std::move(clicked)) {}
    HRESULT STDMETHODCALLTYPE Activate(LPCWSTR, LPCWSTR arguments, const NOTIFICATION_USER_INPUT_DATA*,
                                       ULONG) noexcept override {
        try {
            clicked_(arguments ? tag_from_launch(host::to_utf8(arguments)) : std::string());
            return S_OK;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

private:
    ToastActivator::Clicked clicked_;
};

class ActivatorFactory final : public ComObject<IClassFactory> {
public:
    explicit ActivatorFactory(ToastActivator::Clicked clicked) : clicked_(std::move(clicked)) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            const auto activator = host::make_com<Activator>(clicked_);
            if (!activator) return E_OUTOFMEMORY;
            return activator->QueryInterface(iid, out);
        } catch (...) {
            return E_OUTOFMEMORY;  // copying the callback
        }
    }
    // The shell's lifetime is its windows', not its COM clients'.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

private:
    ToastActivator::Clicked clicked_;
};

}  // namespace

ToastActivator::ToastActivator(Clicked clicked) {
    CLSID activator_class{};
    if (FAILED(CLSIDFromString(std::wstring(kToastActivatorClassW).c_str(), &activator_class))) return;
    const auto factory = host::make_com<ActivatorFactory>(std::move(clicked));
    if (!factory) return;
    // Local server, so that COM can start the shell for a click after it ended and hand the click
    // to the running one otherwise; the registration also serves the shell's own process.
    DWORD cookie = 0;
    if (SUCCEEDED(
            CoRegisterClassObject(activator_class, factory.get(), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
        cookie_ = cookie;
}

ToastActivator::~ToastActivator() {
    if (cookie_) (void)CoRevokeClassObject(cookie_);  // fails only for a cookie not registered
}

}  // namespace wm
