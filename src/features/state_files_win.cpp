#include <windows.h>

#include <vector>

#include "app/app_files.h"
#include "features/state_files.h"
#include "features/state_text.h"
#include "host/dpi.h"
#include "host/file_io.h"

namespace wm {
namespace {

bool is_valid_utf8(const std::string& text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

std::vector<MonitorArea> monitors() {
    std::vector<MonitorArea> found;
    (void)EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM context) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (GetMonitorInfoW(monitor, &info)) {
                const RECT& r = info.rcMonitor;
                reinterpret_cast<std::vector<MonitorArea>*>(context)->push_back(
                    {{r.left, r.top, r.right, r.bottom}, host::scale_of(host::monitor_dpi(monitor))});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

void write_state_file(std::string_view name, std::string_view contents) {
    const auto path = app_file_path(name);
    if (!path) return;
    (void)host::create_folders(host::parent_folder(*path));  // a failure shows in the write
    (void)host::write_file_replacing(*path, std::as_bytes(std::span(contents.data(), contents.size())));
}

std::optional<std::string> read_state_file(std::string_view name) {
    const auto path = app_file_path(name);
    if (!path) return std::nullopt;
    auto text = host::read_file(*path);
    if (!text || !is_valid_utf8(*text)) return std::nullopt;
    return text;
}

std::optional<WindowGeometry> load_window_geometry() {
    const auto text = read_state_file(kWindowFile);
    if (!text) return std::nullopt;
    const auto geometry = parse_window_geometry(*text);
    if (!geometry || !overlaps_any_monitor(*geometry, monitors())) return std::nullopt;
    return geometry;
}

bool load_always_on_top() { return parse_always_on_top(read_state_file(kTopFile)); }

std::string load_icon_variant() { return parse_icon_variant(read_state_file(kIconFile)); }

}  // namespace wm
