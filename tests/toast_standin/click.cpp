#include "click.h"

#include "../standin/text.h"
#include "../support/xml_reader.h"

namespace toast_standin {
namespace {

// The shell's identity key, where its CustomActivator names the class to create.
std::wstring identity_key(const std::string& identity) {
    return L"Software\\Classes\\AppUserModelId\\" + standin::to_utf16(identity);
}

}  // namespace

ClickTarget::ClickTarget(Recorder reporter, std::string identity)
    : reporter_(std::move(reporter)), identity_(std::move(identity)) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &ClickTarget::window_procedure;
    window_class.hInstance = standin::this_module();
    window_class.lpszClassName = kClickWindowClass;
    RegisterClassExW(&window_class);  // registering twice fails harmlessly
    // Hidden and top-level, so that the driver finds it among the process's windows.
    window_ = standin::UniqueWindow(CreateWindowExW(WS_EX_TOOLWINDOW, kClickWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                                    nullptr, nullptr, standin::this_module(), nullptr));
    if (window_.get()) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void ClickTarget::shown(const std::string& xml) {
    launch_.reset();
    const auto nodes = xml_reader::read(xml);
    // The toast element's own attributes come right after its start.
    for (std::size_t i = 1; nodes && i < nodes->size() && (*nodes)[i].kind == xml_reader::Node::attribute; ++i)
        if ((*nodes)[i].name == "launch") launch_ = standin::to_utf16((*nodes)[i].value);
}

LRESULT CALLBACK ClickTarget::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == kClickMessage) {
        if (const auto* self = reinterpret_cast<const ClickTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            return self->click();
        return E_UNEXPECTED;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

HRESULT ClickTarget::click() const {
    wchar_t activator[64];
    DWORD size = sizeof activator;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, identity_key(identity_).c_str(), L"CustomActivator",
                                        RRF_RT_REG_SZ, nullptr, activator, &size);
    if (status != ERROR_SUCCESS) {
        reporter_.write("click_failed", "no CustomActivator");
        return HRESULT_FROM_WIN32(status);
    }
    CLSID activator_class{};
    HRESULT hr = CLSIDFromString(activator, &activator_class);
    if (FAILED(hr)) {
        reporter_.write("click_failed", "CustomActivator " + standin::to_utf8(activator));
        return hr;
    }
    // As Windows asks for it; inside the shell's own process no proxy is involved.
    ComPtr<INotificationActivationCallback> callback;
    hr = CoCreateInstance(activator_class, nullptr, CLSCTX_LOCAL_SERVER,
                          wm::host::iid_of<INotificationActivationCallback>, reinterpret_cast<void**>(callback.put()));
    if (FAILED(hr) || !callback) {
        reporter_.write("click_failed", "CoCreateInstance " + standin::hresult_text(hr));
        return FAILED(hr) ? hr : E_POINTER;
    }
    // The toast's launch attribute; null for a toast without one, as Windows passes it.
    hr = callback->Activate(standin::to_utf16(identity_).c_str(), launch_ ? launch_->c_str() : nullptr, nullptr, 0);
    reporter_.write("activate", standin::to_utf8(activator) + "\t" + standin::hresult_text(hr));
    return hr;
}

}  // namespace toast_standin
