#include "driver/shell_windows.h"

#include <algorithm>
#include <optional>

#include "driver/handle.h"
#include "driver/shell_case.h"
#include "driver/wait.h"
#include "driver/windows.h"

namespace e2e {

std::vector<HWND> shell_windows(DWORD process_id) {
    std::vector<HWND> visible;
    for (HWND window : titled_windows(process_id, kProductName))
        if (IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

HWND wait_for_new_window(DWORD process_id, const std::vector<HWND>& known, const StandinLog& log) {
    const HWND found = poll_for(kEffectTimeout, [&]() -> std::optional<HWND> {
                           for (HWND window : shell_windows(process_id))
                               if (std::find(known.begin(), known.end(), window) == known.end()) return window;
                           return std::nullopt;
                       }).value_or(nullptr);
    if (!found) return nullptr;
    const bool navigated = log.wait_until([&](const std::vector<StandinEntry>& entries) {
                                  return !window_payloads(entries, found, "navigate").empty();
                              })
                               .has_value();
    return navigated ? found : nullptr;
}

std::vector<std::string> window_payloads(const std::vector<StandinEntry>& entries, HWND window,
                                         std::string_view event) {
    std::vector<std::string> found;
    for (const auto& entry : entries)
        if (entry.event == event && entry.belongs_to(window)) found.push_back(entry.payload);
    return found;
}

namespace {

// The system's table of open handles (SystemHandleInformation), as far as it goes.
struct HandleEntry {
    ULONG process_id;
    BYTE object_type;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// Counted from the system's handle table, which Wine fills while its GetProcessHandleCount
// answers 0; nothing when the table cannot be read.
std::optional<DWORD> handles_in_system_table(DWORD process_id) {
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return std::nullopt;
    std::vector<BYTE> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
            continue;
        }
        if (status < 0) return std::nullopt;
        break;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].process_id == process_id) ++count;
    return count;
}

}  // namespace

ProcessCounts process_counts(DWORD process_id) {
    ProcessCounts counts;
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process_id));
    if (process) {
        if (!GetProcessHandleCount(process.get(), &counts.handles) || counts.handles == 0)
            counts.handles = handles_in_system_table(process_id).value_or(0);
    }
    for (HWND window : top_level_windows(process_id)) {
        ++counts.windows;
        EnumChildWindows(
            window,
            [](HWND, LPARAM count) -> BOOL {
                ++*reinterpret_cast<std::size_t*>(count);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&counts.windows));
    }
    return counts;
}

}  // namespace e2e
