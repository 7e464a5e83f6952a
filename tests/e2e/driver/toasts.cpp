#include "driver/toasts.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "../../toast_standin/click_message.h"
#include "driver/text.h"
#include "driver/wait.h"
#include "driver/windows.h"

namespace e2e {
namespace {

std::filesystem::path toast_standin() {
    return windows_path(WM_E2E_TOAST_STANDIN);
}

const std::wstring kActivatableClasses = L"Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\";
constexpr const wchar_t* kClasses[] = {
    L"Windows.UI.Notifications.ToastNotificationManager",
    L"Windows.UI.Notifications.ToastNotification",
    L"Windows.Data.Xml.Dom.XmlDocument",
};

void unregister_all() {
    for (const wchar_t* name : kClasses) (void)RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kActivatableClasses + name).c_str());
}

// combase reads DllPath and ActivationType 0 (in-process) for a class.
void register_class(const std::wstring& name, const std::wstring& dll) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kActivatableClasses + name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the class key of " + narrow(name));
    const DWORD in_process = 0;
    const bool written = RegSetValueExW(key, L"DllPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                                        static_cast<DWORD>((dll.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
                         RegSetValueExW(key, L"ActivationType", 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&in_process), sizeof in_process) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!written) throw std::runtime_error("cannot register " + narrow(name));
}

}  // namespace

ToastClasses::ToastClasses(bool registered) {
    unregister_all();  // a case that was killed may have left them
    if (registered)
        for (const wchar_t* name : kClasses) register_class(name, toast_standin().native());
}

ToastClasses::~ToastClasses() {
    unregister_all();
}

std::vector<ShownToast> shown_toasts(const std::vector<StandinEntry>& entries) {
    std::vector<ShownToast> toasts;
    for (const std::string& payload : payloads(entries, "show")) {
        const auto tab = payload.find('\t');
        if (tab == std::string::npos) throw std::runtime_error("show line without content: " + payload);
        toasts.push_back({payload.substr(0, tab), payload.substr(tab + 1)});
    }
    return toasts;
}

HRESULT click_toast(DWORD process_id) {
    for (HWND window : top_level_windows(process_id)) {
        if (window_class(window) != toast_standin::kClickWindowClass) continue;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, toast_standin::kClickMessage, 0, 0, SMTO_ABORTIFHUNG,
                                 static_cast<UINT>(std::chrono::milliseconds(kEffectTimeout).count()), &answer))
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        return static_cast<HRESULT>(answer);
    }
    return E_FAIL;
}

std::vector<std::string> live_objects(const std::vector<StandinEntry>& entries) {
    std::vector<std::string> live = payloads(entries, "created");
    for (const std::string& released : payloads(entries, "released")) {
        const auto found = std::find(live.begin(), live.end(), released);
        if (found == live.end()) throw std::runtime_error("released but never made: " + released);
        live.erase(found);
    }
    return live;
}

std::vector<double> toast_spans_us(const std::vector<StandinEntry>& entries) {
    std::vector<double> spans;
    std::optional<double> started;
    for (const auto& entry : entries) {
        const double time = std::stod(entry.view);  // the stand-in's lines carry the time there
        if (!started) started = time;
        if (entry.event == "released" && entry.payload.starts_with("XmlDocument#")) {
            spans.push_back(time - *started);
            started.reset();
        }
    }
    return spans;
}

}  // namespace e2e
