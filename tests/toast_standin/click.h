#pragma once
// A click on a toast, as Windows reports it to an unpackaged program: the class named by the
// identity's CustomActivator is created and told to Activate. The stand-in does it on the thread
// that made the notifier (the shell's user-interface thread, where the shell registered the
// class), when the end-to-end driver sends kClickMessage to the hidden window of that thread.

#include <windows.h>

#include <optional>
#include <string>

#include "../standin/handles.h"
#include "classes.h"
#include "click_message.h"

namespace toast_standin {

class ClickTarget {
public:
    ClickTarget(Recorder reporter, std::string identity);
    ClickTarget(const ClickTarget&) = delete;
    ClickTarget& operator=(const ClickTarget&) = delete;
    // The toast a click reaches: the one shown last, with its launch attribute if it has one.
    void shown(const std::string& xml);

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    HRESULT click() const;

    Recorder reporter_;
    std::string identity_;
    std::optional<std::wstring> launch_;
    standin::UniqueWindow window_;
};

}  // namespace toast_standin
