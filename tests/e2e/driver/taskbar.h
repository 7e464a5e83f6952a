#pragma once
// The stand-in taskbar (tests/taskbar_standin): registered in the prefix for a case as the
// in-process server of CLSID_TaskbarList, and its log read back as the overlays set.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/log.h"

namespace e2e {

// Registers the stand-in as the in-process server of the taskbar list for the lifetime of the
// object, then puts back the prefix's own (Wine's explorerframe.dll). In the machine's classes:
// Wine 8's COM does not look under the user's (HKCU\Software\Classes), which Windows reads first.
class TaskbarClass {
public:
    TaskbarClass();
    TaskbarClass(const TaskbarClass&) = delete;
    TaskbarClass& operator=(const TaskbarClass&) = delete;
    ~TaskbarClass();

private:
    std::optional<std::wstring> previous_;
};

struct Overlay {
    HWND window = nullptr;
    std::string size;  // "16x16", or "none" for no icon
    int red = 0;       // opaque pixels of the disc
    int white = 0;     // opaque pixels of the text
    std::string description;
};

std::vector<Overlay> overlays(const std::vector<StandinEntry>& entries);

}  // namespace e2e
