#pragma once
// The stand-in WinRT toast classes: ToastNotificationManager, ToastNotification and XmlDocument,
// as the shell reaches them through combase. They record what the shell asked for (README.md).

#include <memory>
#include <string>

#include "../standin/com_support.h"
#include "../standin/log.h"
#include "notify/winrt_toast_win.h"

namespace toast_standin {

using standin::ComObject;
using standin::ComPtr;

// Writes the stand-in's lines: "<time>\t<event>\t<payload>", the time being the performance
// counter in microseconds, so that a test can tell how long the shell spent between two calls.
class Recorder {
public:
    explicit Recorder(std::shared_ptr<standin::Log> log) : log_(std::move(log)) {}
    void write(std::string_view event, std::string_view payload) const;
    // For a method the shell is not expected to call: leaves a trace and answers E_NOTIMPL.
    HRESULT unimplemented(std::string_view method) const;

private:
    std::shared_ptr<standin::Log> log_;
};

// A COM object that also answers IInspectable, with the IInspectable methods nobody should need.
// Every object is named in the log when it is made and when its last reference goes.
// (The member is reporter_ for the STANDIN_UNUSED methods.)
template <class... Interfaces>
class Inspectable : public ComObject<Interfaces...> {
public:
    Inspectable(Recorder reporter, std::string name) : reporter_(std::move(reporter)), name_(std::move(name)) {
        reporter_.write("created", name_);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (out && IsEqualIID(iid, wm::host::iid_of<IInspectable>)) {
            *out = static_cast<IInspectable*>(static_cast<typename ComObject<Interfaces...>::Primary*>(this));
            this->AddRef();
            return S_OK;
        }
        return ComObject<Interfaces...>::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) noexcept override { return reporter_.unimplemented("GetIids"); }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) noexcept override {
        return reporter_.unimplemented("GetRuntimeClassName");
    }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) noexcept override {
        if (!level) return E_POINTER;
        *level = BaseTrust;
        return S_OK;
    }

    const std::string& name() const { return name_; }

protected:
    ~Inspectable() override { reporter_.write("released", name_); }

    Recorder reporter_;

private:
    std::string name_;
};

// The factory of the named class, or nothing for a class the stand-in does not have.
ComPtr<IActivationFactory> activation_factory(const std::wstring& class_name, Recorder reporter);

}  // namespace toast_standin
