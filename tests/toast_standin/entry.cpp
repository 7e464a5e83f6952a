// The entry point combase calls for a class registered under
// HKLM\Software\Microsoft\WindowsRuntime\ActivatableClassId with this DLL as its DllPath.

#include <winstring.h>

#include "../standin/text.h"
#include "classes.h"

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE
    DllGetActivationFactory(HSTRING class_id, IActivationFactory** factory) noexcept {
    try {
        if (!factory) return E_POINTER;
        *factory = nullptr;
        UINT32 length = 0;
        const wchar_t* text = WindowsGetStringRawBuffer(class_id, &length);
        const std::wstring class_name(text, length);
        const toast_standin::Recorder reporter(standin::Log::from_environment(L"TOAST_STANDIN_LOG"));
        reporter.write("get_activation_factory", standin::to_utf8(class_name));
        const auto made = toast_standin::activation_factory(class_name, reporter);
        if (!made) return CLASS_E_CLASSNOTAVAILABLE;
        return standin::hand_out(made.get(), factory);
    } catch (...) {
        return E_OUTOFMEMORY;  // the only exception the stand-in's own code throws
    }
}
