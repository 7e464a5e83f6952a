#include <windows.h>

#include <vector>

#include "base/product.h"
#include "features/leftovers.h"
#include "features/state_files.h"
#include "features/state_text.h"
#include "host/dpi.h"
#include "host/file_io.h"
#include "host/handles.h"
#include "host/text.h"

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

bool process_has_ended(DWORD process_id) {
    const host::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
    // A process that cannot be opened no longer exists (or is not ours to judge: its file stays).
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

}  // namespace

std::optional<std::wstring> app_file_path(std::string_view name) {
    const auto folder = host::environment_variable(L"APPDATA");
    if (!folder) return std::nullopt;
    return *folder + L"\\" + std::wstring(kProductNameW) + L"\\" + host::to_wide(name);
}

bool replace_app_file(const std::wstring& path, std::span<const std::byte> bytes) {
    const std::wstring folder = host::parent_folder(path);
    const std::wstring temporary =
        folder + L"\\" + temporary_file_name(path.substr(folder.size() + 1), GetCurrentProcessId());
    // The folder almost always exists: look for it only when the write fails, so that a window
    // drag's saves cost no more than they must. It is made again if it was deleted meanwhile.
    if (host::write_file_replacing(path, temporary, bytes)) return true;
    return host::create_folders(folder) && host::write_file_replacing(path, temporary, bytes);
}

void remove_leftover_files() {
    const auto any = app_file_path("*.tmp");
    if (!any) return;
    const std::wstring folder = host::parent_folder(*any);
    WIN32_FIND_DATAW found{};
    const host::UniqueSearch search = host::adopt_search(FindFirstFileW(any->c_str(), &found));
    if (!search) return;
    do {
        const auto owner = temporary_file_owner(found.cFileName);
        if (owner && *owner != GetCurrentProcessId() && process_has_ended(*owner))
            (void)DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search.get(), &found));
}

void write_state_file(std::string_view name, std::string_view contents) {
    const auto path = app_file_path(name);
    if (!path) return;
    (void)replace_app_file(*path, std::as_bytes(std::span(contents.data(), contents.size())));
}

std::optional<std::string> read_state_file(std::string_view name) {
    const auto path = app_file_path(name);
    if (!path) return std::nullopt;
    auto text = host::read_file(*path, is_state_file);
    if (!text || !is_valid_utf8(*text)) return std::nullopt;
    return text;
}

std::optional<WindowPlacement> load_window_placement() {
    const auto text = read_state_file(kWindowFile);
    if (!text) return std::nullopt;
    const auto placement = parse_window_placement(*text);
    // A window maximised on a monitor that has gone would come back where its normal rectangle is.
    if (!placement || !overlaps_any_monitor(placement->normal, monitors())) return std::nullopt;
    return placement;
}

bool load_always_on_top() { return parse_always_on_top(read_state_file(kTopFile)); }

std::string load_icon_variant() { return parse_icon_variant(read_state_file(kIconFile)); }

double load_zoom() { return parse_zoom(read_state_file(kZoomFile)); }

}  // namespace wm
