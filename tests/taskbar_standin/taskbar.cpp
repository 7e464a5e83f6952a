// The stand-in taskbar: CLSID_TaskbarList as an in-process server whose ITaskbarList3 records the
// overlays the shell sets (README.md). Every other method answers E_NOTIMPL.

#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "../standin/com_support.h"
#include "../standin/log.h"
#include "../standin/text.h"
#include "../support/icon_pixels.h"
#include "features/badge_win.h"

namespace wm::host {
template <>
inline constexpr GUID iid_of<IClassFactory> = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}  // namespace wm::host

namespace {

std::atomic<long> g_live{0};

// Lines: "<window in hex, or ->\t<event>\t<payload>".
class Recorder {
public:
    Recorder() : log_(standin::Log::from_environment(L"TASKBAR_STANDIN_LOG")) {}
    void write(std::string_view event, std::string_view payload = {}, HWND window = nullptr) const {
        log_->write(window ? standin::Reporter::view_of(window) : "-", event, payload);
    }
    HRESULT unimplemented(std::string_view method) const {
        write("unimplemented", method);
        return E_NOTIMPL;
    }

private:
    std::shared_ptr<standin::Log> log_;
};

// "<width>x<height>\t<red pixels>\t<white pixels>": the icon as the taskbar would copy it; red
// and white are opaque pixels of the disc and of the text on it.
std::string describe_icon(HICON icon) {
    if (!icon) return "none\t0\t0";
    const icon_pixels::Pixels pixels = icon_pixels::read(icon);
    if (pixels.argb.empty()) return "unreadable\t0\t0";
    int red = 0;
    int white = 0;
    for (const std::uint32_t p : pixels.argb) {
        red += icon_pixels::disc_red(p);
        white += icon_pixels::text_white(p);
    }
    return std::to_string(pixels.width) + "x" + std::to_string(pixels.height) + "\t" + std::to_string(red) + "\t" +
           std::to_string(white);
}

#define TASKBAR_UNUSED(method, ...)                                   \
    HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) noexcept override { \
        return reporter_.unimplemented(#method);                      \
    }

class TaskbarList final : public standin::ComObject<ITaskbarList3> {
public:
    TaskbarList() {
        ++g_live;
        reporter_.write("created");
    }

    // The interfaces it derives from answer too, as the real object's do.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (out && (IsEqualIID(iid, IID_ITaskbarList) || IsEqualIID(iid, IID_ITaskbarList2))) {
            *out = static_cast<ITaskbarList3*>(this);
            AddRef();
            return S_OK;
        }
        return ComObject::QueryInterface(iid, out);
    }

    HRESULT STDMETHODCALLTYPE HrInit() noexcept override {
        reporter_.write("hr_init");
        initialized_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND window, HICON icon, LPCWSTR description) noexcept override {
        // The list answers nothing before HrInit.
        if (!initialized_) {
            reporter_.write("not_initialized", "SetOverlayIcon", window);
            return E_UNEXPECTED;
        }
        // The call is ignored for a handle that is not a window.
        if (!IsWindow(window)) {
            reporter_.write("overlay_ignored", standin::hex(reinterpret_cast<std::uintptr_t>(window)));
            return E_INVALIDARG;
        }
        reporter_.write("overlay", describe_icon(icon) + "\t" + standin::to_utf8(description ? description : L""),
                        window);
        return S_OK;
    }

    TASKBAR_UNUSED(AddTab, HWND)
    TASKBAR_UNUSED(DeleteTab, HWND)
    TASKBAR_UNUSED(ActivateTab, HWND)
    TASKBAR_UNUSED(SetActiveAlt, HWND)
    TASKBAR_UNUSED(MarkFullscreenWindow, HWND, WINBOOL)
    TASKBAR_UNUSED(SetProgressValue, HWND, ULONGLONG, ULONGLONG)
    TASKBAR_UNUSED(SetProgressState, HWND, TBPFLAG)
    TASKBAR_UNUSED(RegisterTab, HWND, HWND)
    TASKBAR_UNUSED(UnregisterTab, HWND)
    TASKBAR_UNUSED(SetTabOrder, HWND, HWND)
    TASKBAR_UNUSED(SetTabActive, HWND, HWND, DWORD)
    TASKBAR_UNUSED(ThumbBarAddButtons, HWND, UINT, LPTHUMBBUTTON)
    TASKBAR_UNUSED(ThumbBarUpdateButtons, HWND, UINT, LPTHUMBBUTTON)
    TASKBAR_UNUSED(ThumbBarSetImageList, HWND, HIMAGELIST)
    TASKBAR_UNUSED(SetThumbnailTooltip, HWND, LPCWSTR)
    TASKBAR_UNUSED(SetThumbnailClip, HWND, RECT*)

private:
    ~TaskbarList() override {
        reporter_.write("released");
        --g_live;
    }

    Recorder reporter_;
    bool initialized_ = false;
};

class Factory final : public standin::ComObject<IClassFactory> {
public:
    Factory() { ++g_live; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        const auto list = standin::make_object<TaskbarList>();
        if (!list) return E_OUTOFMEMORY;
        return list->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        lock ? ++g_live : --g_live;
        return S_OK;
    }

private:
    ~Factory() override { --g_live; }
};

}  // namespace

// Declared by the system headers without noexcept; neither body can throw.
extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID class_id, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(class_id, wm::kTaskbarListClass)) return CLASS_E_CLASSNOTAVAILABLE;
    const auto factory = standin::make_object<Factory>();
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return g_live == 0 ? S_OK : S_FALSE; }
