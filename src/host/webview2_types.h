#pragma once
// The names the WebView2 interface declarations (host/webview2.h) share: enumerations, the
// interfaces known only by name, and every interface identifier.

#include <windows.h>
#include <objidl.h>
#include <oaidl.h>
#include <eventtoken.h>

// Enumerations are 32-bit in the runtime's ABI.
enum COREWEBVIEW2_PERMISSION_KIND : int {
    COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
    COREWEBVIEW2_PERMISSION_KIND_MICROPHONE = 1,
    COREWEBVIEW2_PERMISSION_KIND_CAMERA = 2,
    COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION = 3,
    COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS = 4,
    COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS = 5,
    COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ = 6,
    COREWEBVIEW2_PERMISSION_KIND_MULTIPLE_AUTOMATIC_DOWNLOADS = 7,
    COREWEBVIEW2_PERMISSION_KIND_FILE_READ_WRITE = 8,
    COREWEBVIEW2_PERMISSION_KIND_AUTOPLAY = 9,
    COREWEBVIEW2_PERMISSION_KIND_LOCAL_FONTS = 10,
    COREWEBVIEW2_PERMISSION_KIND_MIDI_SYSTEM_EXCLUSIVE_MESSAGES = 11,
    COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT = 12,
};
enum COREWEBVIEW2_PERMISSION_STATE : int {
    COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
    COREWEBVIEW2_PERMISSION_STATE_ALLOW = 1,
    COREWEBVIEW2_PERMISSION_STATE_DENY = 2,
};
enum COREWEBVIEW2_PROCESS_FAILED_KIND : int {
    COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED = 1,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE = 2,
    COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED = 3,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED = 4,
    COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED = 5,
    COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED = 6,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED = 7,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED = 8,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED = 9,
};
enum COREWEBVIEW2_DOWNLOAD_STATE : int {
    COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS = 0,
    COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED = 1,
    COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED = 2,
};
// Only passed through placeholder slots; their values are never used here.
enum COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND : int {
    COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL = 0,
    COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED = 1,
};
enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT : int {};
enum COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON : int {};
enum COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND : int {};
enum COREWEBVIEW2_MOVE_FOCUS_REASON : int {
    COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC = 0,
    COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT = 1,
    COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS = 2,
};
// The window message a key event came in: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP.
enum COREWEBVIEW2_KEY_EVENT_KIND : int {
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN = 0,
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP = 1,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN = 2,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP = 3,
};
enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT : int {};
enum COREWEBVIEW2_WEB_ERROR_STATUS : int {
    COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT = 1,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED = 2,
    COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS = 3,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED = 4,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID = 5,
    COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE = 6,
    COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT = 7,
    COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE = 8,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED = 9,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET = 10,
    COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED = 11,
    COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT = 12,
    COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED = 13,
    COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED = 14,
    COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED = 15,
    COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR = 16,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED = 17,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED = 18,
};
enum COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT : int {};
enum COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND : int {
    COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_COMMAND = 0,
    COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_CHECK_BOX = 1,
    COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_RADIO = 2,
    COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_SEPARATOR = 3,
    COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_SUBMENU = 4,
};

// A colour as the runtime takes it: alpha first, 255 opaque.
struct COREWEBVIEW2_COLOR {
    BYTE A;
    BYTE R;
    BYTE G;
    BYTE B;
};

// What a key event's LPARAM says, field by field.
struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {
    UINT32 RepeatCount;
    UINT32 ScanCode;
    BOOL IsExtendedKey;
    BOOL IsMenuKeyDown;
    BOOL WasKeyDown;
    BOOL IsKeyReleased;
};

// Interfaces that appear only in the signatures of placeholder slots.
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2AcceleratorKeyPressedEventArgs;
struct ICoreWebView2MoveFocusRequestedEventArgs;
struct ICoreWebView2BytesReceivedChangedEventHandler;
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler;
struct ICoreWebView2CapturePreviewCompletedHandler;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2CookieManager;
struct ICoreWebView2DOMContentLoadedEventHandler;
struct ICoreWebView2DevToolsProtocolEventReceiver;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2EstimatedEndTimeChangedEventHandler;
struct ICoreWebView2FocusChangedEventHandler;
struct ICoreWebView2FrameCreatedEventHandler;
struct ICoreWebView2HistoryChangedEventHandler;
struct ICoreWebView2MoveFocusRequestedEventHandler;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2NewBrowserVersionAvailableEventHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler;
struct ICoreWebView2Settings;
struct ICoreWebView2TrySuspendCompletedHandler;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2WebResourceResponseReceivedEventHandler;
struct ICoreWebView2WindowCloseRequestedEventHandler;
struct ICoreWebView2WindowFeatures;
struct ICoreWebView2ZoomFactorChangedEventHandler;
struct ICoreWebView2Environment;
struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2Controller;
struct ICoreWebView2;
struct ICoreWebView2_2;
struct ICoreWebView2_3;
struct ICoreWebView2_4;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2FrameInfo;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2PermissionRequestedEventArgs;
struct ICoreWebView2DownloadStartingEventHandler;
struct ICoreWebView2DownloadStartingEventArgs;
struct ICoreWebView2DownloadOperation;
struct ICoreWebView2StateChangedEventHandler;
struct ICoreWebView2Deferral;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2SourceChangedEventArgs;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2ContentLoadingEventArgs;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2BasicAuthenticationRequestedEventHandler;
struct ICoreWebView2ClientCertificateRequestedEventHandler;
struct ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler;
struct ICoreWebView2IsDocumentPlayingAudioChangedEventHandler;
struct ICoreWebView2IsMutedChangedEventHandler;
struct ICoreWebView2PrintSettings;
struct ICoreWebView2PrintToPdfCompletedHandler;
struct ICoreWebView2ContextMenuTarget;
struct ICoreWebView2CustomItemSelectedEventHandler;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs2;
struct ICoreWebView2ContextMenuRequestedEventHandler;
struct ICoreWebView2ContextMenuRequestedEventArgs;
struct ICoreWebView2ContextMenuItemCollection;
struct ICoreWebView2ContextMenuItem;
struct ICoreWebView2NewWindowRequestedEventArgs2;
struct ICoreWebView2NewWindowRequestedEventArgs3;
struct ICoreWebView2Controller2;
struct ICoreWebView2Settings6;
struct ICoreWebView2_11;
struct ICoreWebView2Environment5;
struct ICoreWebView2BrowserProcessExitedEventHandler;
struct ICoreWebView2BrowserProcessExitedEventArgs;
struct ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler;
struct ICoreWebView2PointerInfo;

namespace wm::host {

// Interface identifiers, kept here rather than through __uuidof so that no compiler extension
// decides them.
template <class Interface> inline constexpr GUID iid_of{};
template <> inline constexpr GUID iid_of<ICoreWebView2Environment> = {0xB96D755E, 0x0319, 0x4E92, {0xA2, 0x96, 0x23, 0x43, 0x6F, 0x46, 0xA1, 0xFC}};
template <> inline constexpr GUID iid_of<ICoreWebView2EnvironmentOptions> = {0x2FDE08A8, 0x1E9A, 0x4766, {0x8C, 0x05, 0x95, 0xA9, 0xCE, 0xB9, 0xD1, 0xC5}};
template <> inline constexpr GUID iid_of<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> = {0x4E8A3389, 0xC9D8, 0x4BD2, {0xB6, 0xB5, 0x12, 0x4F, 0xEE, 0x6C, 0xC1, 0x4D}};
template <> inline constexpr GUID iid_of<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> = {0x6C4819F3, 0xC9B7, 0x4260, {0x81, 0x27, 0xC9, 0xF5, 0xBD, 0xE7, 0xF6, 0x8C}};
template <> inline constexpr GUID iid_of<ICoreWebView2Controller> = {0x4D00C0D1, 0x9434, 0x4EB6, {0x80, 0x78, 0x86, 0x97, 0xA5, 0x60, 0x33, 0x4F}};
template <> inline constexpr GUID iid_of<ICoreWebView2> = {0x76ECEACB, 0x0462, 0x4D94, {0xAC, 0x83, 0x42, 0x3A, 0x67, 0x93, 0x77, 0x5E}};
template <> inline constexpr GUID iid_of<ICoreWebView2_2> = {0x9E8F0CF8, 0xE670, 0x4B5E, {0xB2, 0xBC, 0x73, 0xE0, 0x61, 0xE3, 0x18, 0x4C}};
template <> inline constexpr GUID iid_of<ICoreWebView2_3> = {0xA0D6DF20, 0x3B92, 0x416D, {0xAA, 0x0C, 0x43, 0x7A, 0x9C, 0x72, 0x78, 0x57}};
template <> inline constexpr GUID iid_of<ICoreWebView2_4> = {0x20D02D59, 0x6DF2, 0x42DC, {0xBD, 0x06, 0xF9, 0x8A, 0x69, 0x4B, 0x13, 0x02}};
template <> inline constexpr GUID iid_of<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler> = {0xB99369F3, 0x9B11, 0x47B5, {0xBC, 0x6F, 0x8E, 0x78, 0x95, 0xFC, 0xEA, 0x17}};
template <> inline constexpr GUID iid_of<ICoreWebView2ExecuteScriptCompletedHandler> = {0x49511172, 0xCC67, 0x4BCA, {0x99, 0x23, 0x13, 0x71, 0x12, 0xF4, 0xC4, 0xCC}};
template <> inline constexpr GUID iid_of<ICoreWebView2WebMessageReceivedEventHandler> = {0x57213F19, 0x00E6, 0x49FA, {0x8E, 0x07, 0x89, 0x8E, 0xA0, 0x1E, 0xCB, 0xD2}};
template <> inline constexpr GUID iid_of<ICoreWebView2WebMessageReceivedEventArgs> = {0x0F99A40C, 0xE962, 0x4207, {0x9E, 0x92, 0xE3, 0xD5, 0x42, 0xEF, 0xF8, 0x49}};
template <> inline constexpr GUID iid_of<ICoreWebView2NewWindowRequestedEventHandler> = {0xD4C185FE, 0xC81C, 0x4989, {0x97, 0xAF, 0x2D, 0x3F, 0xA7, 0xAB, 0x56, 0x51}};
template <> inline constexpr GUID iid_of<ICoreWebView2NewWindowRequestedEventArgs> = {0x34ACB11C, 0xFC37, 0x4418, {0x91, 0x32, 0xF9, 0xC2, 0x1D, 0x1E, 0xAF, 0xB9}};
template <> inline constexpr GUID iid_of<ICoreWebView2NewWindowRequestedEventArgs2> = {0xBBC7BAED, 0x74C6, 0x4C92, {0xB6, 0x3A, 0x7F, 0x5A, 0xEA, 0xE0, 0x3D, 0xE3}};
template <> inline constexpr GUID iid_of<ICoreWebView2NewWindowRequestedEventArgs3> = {0x842BED3C, 0x6AD6, 0x4DD9, {0xB9, 0x38, 0x28, 0xC9, 0x66, 0x67, 0xAD, 0x66}};
template <> inline constexpr GUID iid_of<ICoreWebView2FrameInfo> = {0xDA86B8A1, 0xBDF3, 0x4F11, {0x99, 0x55, 0x52, 0x8C, 0xEF, 0xA5, 0x97, 0x27}};
template <> inline constexpr GUID iid_of<ICoreWebView2PermissionRequestedEventHandler> = {0x15E1C6A3, 0xC72A, 0x4DF3, {0x91, 0xD7, 0xD0, 0x97, 0xFB, 0xEC, 0x6B, 0xFD}};
template <> inline constexpr GUID iid_of<ICoreWebView2PermissionRequestedEventArgs> = {0x973AE2EF, 0xFF18, 0x4894, {0x8F, 0xB2, 0x3C, 0x75, 0x8F, 0x04, 0x68, 0x10}};
template <> inline constexpr GUID iid_of<ICoreWebView2DownloadStartingEventHandler> = {0xEFEDC989, 0xC396, 0x41CA, {0x83, 0xF7, 0x07, 0xF8, 0x45, 0xA5, 0x57, 0x24}};
template <> inline constexpr GUID iid_of<ICoreWebView2DownloadStartingEventArgs> = {0xE99BBE21, 0x43E9, 0x4544, {0xA7, 0x32, 0x28, 0x27, 0x64, 0xEA, 0xFA, 0x60}};
template <> inline constexpr GUID iid_of<ICoreWebView2DownloadOperation> = {0x3D6B6CF2, 0xAFE1, 0x44C7, {0xA9, 0x95, 0xC6, 0x51, 0x17, 0x71, 0x43, 0x36}};
template <> inline constexpr GUID iid_of<ICoreWebView2StateChangedEventHandler> = {0x81336594, 0x7EDE, 0x4BA9, {0xBF, 0x71, 0xAC, 0xF0, 0xA9, 0x5B, 0x58, 0xDD}};
template <> inline constexpr GUID iid_of<ICoreWebView2ProcessFailedEventHandler> = {0x79E0AEA4, 0x990B, 0x42D9, {0xAA, 0x1D, 0x0F, 0xCC, 0x2E, 0x5B, 0xC7, 0xF1}};
template <> inline constexpr GUID iid_of<ICoreWebView2ProcessFailedEventArgs> = {0x8155A9A4, 0x1474, 0x4A86, {0x8C, 0xAE, 0x15, 0x1B, 0x0F, 0xA6, 0xB8, 0xCA}};
template <> inline constexpr GUID iid_of<ICoreWebView2SourceChangedEventHandler> = {0x3C067F9F, 0x5388, 0x4772, {0x8B, 0x48, 0x79, 0xF7, 0xEF, 0x1A, 0xB3, 0x7C}};
template <> inline constexpr GUID iid_of<ICoreWebView2SourceChangedEventArgs> = {0x31E0E545, 0x1DBA, 0x4266, {0x89, 0x14, 0xF6, 0x38, 0x48, 0xA1, 0xF7, 0xD7}};
template <> inline constexpr GUID iid_of<ICoreWebView2ContentLoadingEventHandler> = {0x364471E7, 0xF2BE, 0x4910, {0xBD, 0xBA, 0xD7, 0x20, 0x77, 0xD5, 0x1C, 0x4B}};
template <> inline constexpr GUID iid_of<ICoreWebView2ContentLoadingEventArgs> = {0x0C8A1275, 0x9B6B, 0x4901, {0x87, 0xAD, 0x70, 0xDF, 0x25, 0xBA, 0xFA, 0x6E}};
template <> inline constexpr GUID iid_of<ICoreWebView2NavigationStartingEventHandler> = {0x9ADBE429, 0xF36D, 0x432B, {0x9D, 0xDC, 0xF8, 0x88, 0x1F, 0xBD, 0x76, 0xE3}};
template <> inline constexpr GUID iid_of<ICoreWebView2NavigationStartingEventArgs> = {0x5B495469, 0xE119, 0x438A, {0x9B, 0x18, 0x76, 0x04, 0xF2, 0x5F, 0x2E, 0x49}};
template <> inline constexpr GUID iid_of<ICoreWebView2Deferral> = {0xC10E7F7B, 0xB585, 0x46F0, {0xA6, 0x23, 0x8B, 0xEF, 0xBF, 0x3E, 0x4E, 0xE0}};

template <> inline constexpr GUID iid_of<ICoreWebView2Controller2> = {0xC979903E, 0xD4CA, 0x4228, {0x92, 0xEB, 0x47, 0xEE, 0x3F, 0xA9, 0x6E, 0xAB}};
template <> inline constexpr GUID iid_of<ICoreWebView2ZoomFactorChangedEventHandler> = {0xB52D71D6, 0xC4DF, 0x4543, {0xA9, 0x0C, 0x64, 0xA3, 0xE6, 0x0F, 0x38, 0xCB}};
template <> inline constexpr GUID iid_of<ICoreWebView2Settings6> = {0x11CB3ACD, 0x9BC8, 0x43B8, {0x83, 0xBF, 0xF4, 0x07, 0x53, 0x71, 0x4F, 0x87}};
template <> inline constexpr GUID iid_of<ICoreWebView2_11> = {0x0BE78E56, 0xC193, 0x4051, {0xB9, 0x43, 0x23, 0xB4, 0x60, 0xC0, 0x8B, 0xDB}};
template <> inline constexpr GUID iid_of<ICoreWebView2ContextMenuRequestedEventHandler> = {0x04D3FE1D, 0xAB87, 0x42FB, {0xA8, 0x98, 0xDA, 0x24, 0x1D, 0x35, 0xB6, 0x3C}};
template <> inline constexpr GUID iid_of<ICoreWebView2ContextMenuRequestedEventArgs> = {0xA1D309EE, 0xC03F, 0x11EB, {0x85, 0x29, 0x02, 0x42, 0xAC, 0x13, 0x00, 0x03}};
template <> inline constexpr GUID iid_of<ICoreWebView2ContextMenuItemCollection> = {0xF562A2F5, 0xC415, 0x45CF, {0xB9, 0x09, 0xD4, 0xB7, 0xC1, 0xE2, 0x76, 0xD3}};
template <> inline constexpr GUID iid_of<ICoreWebView2ContextMenuItem> = {0x7AED49E3, 0xA93F, 0x497A, {0x81, 0x1C, 0x74, 0x9C, 0x6B, 0x6B, 0x6C, 0x65}};
template <> inline constexpr GUID iid_of<ICoreWebView2NavigationCompletedEventHandler> = {0xD33A35BF, 0x1C49, 0x4F98, {0x93, 0xAB, 0x00, 0x6E, 0x05, 0x33, 0xFE, 0x1C}};
template <> inline constexpr GUID iid_of<ICoreWebView2NavigationCompletedEventArgs> = {0x30D68B7D, 0x20D9, 0x4752, {0xA9, 0xCA, 0xEC, 0x84, 0x48, 0xFB, 0xB5, 0xC1}};
template <> inline constexpr GUID iid_of<ICoreWebView2NavigationCompletedEventArgs2> = {0xFDF8B738, 0xEE1E, 0x4DB2, {0xA3, 0x29, 0x8D, 0x7D, 0x7B, 0x74, 0xD7, 0x92}};
template <> inline constexpr GUID iid_of<ICoreWebView2Environment5> = {0x319E423D, 0xE0D7, 0x4B8D, {0x92, 0x54, 0xAE, 0x94, 0x75, 0xDE, 0x9B, 0x17}};
template <> inline constexpr GUID iid_of<ICoreWebView2BrowserProcessExitedEventHandler> = {0xFA504257, 0xA216, 0x4911, {0xA8, 0x60, 0xFE, 0x88, 0x25, 0x71, 0x28, 0x61}};
template <> inline constexpr GUID iid_of<ICoreWebView2BrowserProcessExitedEventArgs> = {0x1F00663F, 0xAF8C, 0x4782, {0x9C, 0xDD, 0xDD, 0x01, 0xC5, 0x2E, 0x34, 0xCB}};
template <> inline constexpr GUID iid_of<ICoreWebView2MoveFocusRequestedEventHandler> = {0x69035451, 0x6DC7, 0x4CB8, {0x9B, 0xCE, 0xB2, 0xBD, 0x70, 0xAD, 0x28, 0x9F}};
template <> inline constexpr GUID iid_of<ICoreWebView2MoveFocusRequestedEventArgs> = {0x2D6AA13B, 0x3839, 0x4A15, {0x92, 0xFC, 0xD8, 0x8B, 0x3C, 0x0D, 0x9C, 0x9D}};
template <> inline constexpr GUID iid_of<ICoreWebView2AcceleratorKeyPressedEventHandler> = {0xB29C7E28, 0xFA79, 0x41A8, {0x8E, 0x44, 0x65, 0x81, 0x1C, 0x76, 0xDC, 0xB2}};
template <> inline constexpr GUID iid_of<ICoreWebView2AcceleratorKeyPressedEventArgs> = {0x9F760F8A, 0xFB79, 0x42BE, {0x99, 0x90, 0x7B, 0x56, 0x90, 0x0F, 0xA9, 0xC7}};

}  // namespace wm::host
