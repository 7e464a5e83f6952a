#include "driver/taskbar.h"

#include <stdexcept>

#include "driver/registry.h"
#include "driver/text.h"

namespace e2e {
namespace {

const std::wstring kServerKey = L"Software\\Classes\\CLSID\\{56FDF344-FD6D-11D0-958A-006097C9A090}\\InprocServer32";

bool set_server(const std::wstring& dll) {
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, kServerKey.c_str(), nullptr, REG_SZ, dll.c_str(),
                           static_cast<DWORD>((dll.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

TaskbarClass::TaskbarClass() {
    const std::wstring standin = windows_path(WM_E2E_TASKBAR_STANDIN).native();
    previous_ = read_string(HKEY_LOCAL_MACHINE, kServerKey, L"");
    // A case that was killed left the stand-in: the prefix's own server is Wine's.
    if (previous_ == standin) previous_ = L"C:\\windows\\system32\\explorerframe.dll";
    if (!set_server(standin)) throw std::runtime_error("cannot register the taskbar list's server");
}

TaskbarClass::~TaskbarClass() {
    if (previous_)
        (void)set_server(*previous_);
    else
        (void)RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kServerKey.c_str(), nullptr);
}

std::vector<Overlay> overlays(const std::vector<StandinEntry>& entries) {
    std::vector<Overlay> found;
    for (const auto& entry : entries) {
        if (entry.event != "overlay") continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (int i = 0; i < 3; ++i) {
            const auto tab = entry.payload.find('\t', start);
            if (tab == std::string::npos) throw std::runtime_error("short overlay line: " + entry.payload);
            fields.push_back(entry.payload.substr(start, tab - start));
            start = tab + 1;
        }
        found.push_back({window_from_hex(entry.view), fields[0], std::stoi(fields[1]), std::stoi(fields[2]),
                         entry.payload.substr(start)});
    }
    return found;
}

}  // namespace e2e
