#pragma once
// Names and addresses fixed at build time.

#include <string_view>

#include "base/release.h"

namespace wm {

inline constexpr std::string_view kProductName = WM_PRODUCT_NAME;
inline constexpr std::wstring_view kProductNameW = L"" WM_PRODUCT_NAME;
inline constexpr std::string_view kShellVersion = WM_VERSION_TEXT;
inline constexpr std::string_view kAppIdentity = WM_APP_IDENTITY;
inline constexpr std::wstring_view kAppIdentityW = L"" WM_APP_IDENTITY;
// The class Windows creates to report a click on one of the shell's toasts, named by the
// identity's registration. Chosen once and never changed: toasts still in the notification
// centre from an earlier version are clicked through it.
inline constexpr std::wstring_view kToastActivatorClassW = L"{BB6C802F-3422-45F9-A006-360D8F9943E4}";

// Names the event a build that is updating itself waits on: the new build sets it once its first
// window's web view exists.
inline constexpr std::wstring_view kUpdateReadyEventVariable = L"WISPERMOTH_UPDATE_READY_EVENT";

// The application's web origin: https, lower-case host, no port.
inline constexpr std::string_view kOriginHost = "wispermoth.app";
inline constexpr std::string_view kOriginRoot = "https://wispermoth.app/";

inline constexpr std::string_view kWebView2DownloadPage =
    "https://developer.microsoft.com/microsoft-edge/webview2/";

}  // namespace wm
