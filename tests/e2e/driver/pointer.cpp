#include "driver/pointer.h"

#include <string>

#include "driver/handle.h"
#include "driver/wait.h"

namespace e2e {
namespace {

// Wine starts a Unix executable named by its Windows path as a native process, but hands back
// no handle to wait on: the effect on the pointer is what tells that it ran.
constexpr wchar_t kXdotool[] = L"Z:\\usr\\bin\\xdotool";

bool xdotool(const std::wstring& arguments) {
    std::wstring command_line = std::wstring(L"\"") + kXdotool + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    return true;
}

bool left_button_down() {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

}  // namespace

bool move_pointer(POINT point) {
    if (!xdotool(L"mousemove " + std::to_wstring(point.x) + L" " + std::to_wstring(point.y))) return false;
    return poll_until(kEffectTimeout, [&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
    });
}

LeftButton::LeftButton() {
    pressed_ = xdotool(L"mousedown 1") && poll_until(kEffectTimeout, left_button_down);
}

LeftButton::~LeftButton() {
    (void)release();
}

bool LeftButton::release() {
    if (!pressed_) return true;
    pressed_ = false;
    return xdotool(L"mouseup 1") && poll_until(kEffectTimeout, [] { return !left_button_down(); });
}

}  // namespace e2e
