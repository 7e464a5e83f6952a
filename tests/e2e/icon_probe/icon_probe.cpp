// The icon probe: a window-procedure hook that the driver installs on the shell's user-interface
// thread. On the driver's request message it reads the window's small icon inside the shell's
// process and copies its pixels into the mapping the driver reads.

#include <windows.h>

#include "driver/icon_probe.h"

namespace {

using e2e::icon_probe::Answer;

class MappedAnswer {
public:
    explicit MappedAnswer(HWND window)
        : mapping_(OpenFileMappingW(FILE_MAP_WRITE, FALSE, e2e::icon_probe::answer_mapping_name(window).c_str())),
          view_(mapping_ ? MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(Answer)) : nullptr) {}
    MappedAnswer(const MappedAnswer&) = delete;
    MappedAnswer& operator=(const MappedAnswer&) = delete;
    ~MappedAnswer() {
        if (view_) UnmapViewOfFile(view_);
        if (mapping_) CloseHandle(mapping_);
    }
    Answer* get() const { return static_cast<Answer*>(view_); }

private:
    HANDLE mapping_;
    void* view_;
};

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK icon_probe_hook(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageW(e2e::icon_probe::kRequestMessage)) {
        const MappedAnswer answer(call->hwnd);
        if (Answer* target = answer.get()) {
            const auto icon = reinterpret_cast<HICON>(SendMessageW(call->hwnd, WM_GETICON, ICON_SMALL, 0));
            target->state = e2e::icon_probe::copy_icon(icon, *target);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
