// The project's WebView2 declarations (src/host/webview2.h) against the vendor's published
// vtable order and interface identifiers (tests/data/webview2_slots.tsv). A method out of place
// calls the wrong function of the real runtime, so every slot is taken from the compiler.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/webview2.h"
#include "vtable_slot.h"

namespace {

struct DeclaredSlot {
    std::string interface_name;
    std::string method;
    long slot;
};

// The method's slot in interface I, or not_declared when the header lacks the method.
#define SLOT(I, M)                                                \
    DeclaredSlot{#I, #M, []<class T = I>() {                      \
                     if constexpr (requires { &T::M; }) {         \
                         return slot_of(&T::M);                   \
                     } else {                                     \
                         return not_declared;                     \
                     }                                            \
                 }()},

#define ENVIRONMENT_METHODS(X, I)                                                           \
    X(I, CreateCoreWebView2Controller) X(I, CreateWebResourceResponse)                      \
    X(I, get_BrowserVersionString) X(I, add_NewBrowserVersionAvailable)                     \
    X(I, remove_NewBrowserVersionAvailable)

#define ENVIRONMENT_OPTIONS_METHODS(X, I)                                                   \
    X(I, get_AdditionalBrowserArguments) X(I, put_AdditionalBrowserArguments)               \
    X(I, get_Language) X(I, put_Language) X(I, get_TargetCompatibleBrowserVersion)          \
    X(I, put_TargetCompatibleBrowserVersion) X(I, get_AllowSingleSignOnUsingOSPrimaryAccount) \
    X(I, put_AllowSingleSignOnUsingOSPrimaryAccount)

#define CONTROLLER_METHODS(X, I)                                                            \
    X(I, get_IsVisible) X(I, put_IsVisible) X(I, get_Bounds) X(I, put_Bounds)               \
    X(I, get_ZoomFactor) X(I, put_ZoomFactor) X(I, add_ZoomFactorChanged)                   \
    X(I, remove_ZoomFactorChanged) X(I, SetBoundsAndZoomFactor) X(I, MoveFocus)             \
    X(I, add_MoveFocusRequested) X(I, remove_MoveFocusRequested) X(I, add_GotFocus)         \
    X(I, remove_GotFocus) X(I, add_LostFocus) X(I, remove_LostFocus)                        \
    X(I, add_AcceleratorKeyPressed) X(I, remove_AcceleratorKeyPressed)                      \
    X(I, get_ParentWindow) X(I, put_ParentWindow) X(I, NotifyParentWindowPositionChanged)   \
    X(I, Close) X(I, get_CoreWebView2)

#define WEBVIEW_METHODS(X, I)                                                               \
    X(I, get_Settings) X(I, get_Source) X(I, Navigate) X(I, NavigateToString)               \
    X(I, add_NavigationStarting) X(I, remove_NavigationStarting) X(I, add_ContentLoading)   \
    X(I, remove_ContentLoading) X(I, add_SourceChanged) X(I, remove_SourceChanged)          \
    X(I, add_HistoryChanged) X(I, remove_HistoryChanged) X(I, add_NavigationCompleted)      \
    X(I, remove_NavigationCompleted) X(I, add_FrameNavigationStarting)                      \
    X(I, remove_FrameNavigationStarting) X(I, add_FrameNavigationCompleted)                 \
    X(I, remove_FrameNavigationCompleted) X(I, add_ScriptDialogOpening)                     \
    X(I, remove_ScriptDialogOpening) X(I, add_PermissionRequested)                          \
    X(I, remove_PermissionRequested) X(I, add_ProcessFailed) X(I, remove_ProcessFailed)     \
    X(I, AddScriptToExecuteOnDocumentCreated) X(I, RemoveScriptToExecuteOnDocumentCreated)  \
    X(I, ExecuteScript) X(I, CapturePreview) X(I, Reload) X(I, PostWebMessageAsJson)        \
    X(I, PostWebMessageAsString) X(I, add_WebMessageReceived) X(I, remove_WebMessageReceived) \
    X(I, CallDevToolsProtocolMethod) X(I, get_BrowserProcessId) X(I, get_CanGoBack)         \
    X(I, get_CanGoForward) X(I, GoBack) X(I, GoForward) X(I, GetDevToolsProtocolEventReceiver) \
    X(I, Stop) X(I, add_NewWindowRequested) X(I, remove_NewWindowRequested)                 \
    X(I, add_DocumentTitleChanged) X(I, remove_DocumentTitleChanged) X(I, get_DocumentTitle) \
    X(I, AddHostObjectToScript) X(I, RemoveHostObjectFromScript) X(I, OpenDevToolsWindow)   \
    X(I, add_ContainsFullScreenElementChanged) X(I, remove_ContainsFullScreenElementChanged) \
    X(I, get_ContainsFullScreenElement) X(I, add_WebResourceRequested)                      \
    X(I, remove_WebResourceRequested) X(I, AddWebResourceRequestedFilter)                   \
    X(I, RemoveWebResourceRequestedFilter) X(I, add_WindowCloseRequested)                   \
    X(I, remove_WindowCloseRequested)

#define WEBVIEW_2_METHODS(X, I)                                                             \
    WEBVIEW_METHODS(X, I)                                                                   \
    X(I, add_WebResourceResponseReceived) X(I, remove_WebResourceResponseReceived)          \
    X(I, NavigateWithWebResourceRequest) X(I, add_DOMContentLoaded)                         \
    X(I, remove_DOMContentLoaded) X(I, get_CookieManager) X(I, get_Environment)

#define WEBVIEW_3_METHODS(X, I)                                                             \
    WEBVIEW_2_METHODS(X, I)                                                                 \
    X(I, TrySuspend) X(I, Resume) X(I, get_IsSuspended) X(I, SetVirtualHostNameToFolderMapping) \
    X(I, ClearVirtualHostNameToFolderMapping)

#define WEBVIEW_4_METHODS(X, I)                                                             \
    WEBVIEW_3_METHODS(X, I)                                                                 \
    X(I, add_FrameCreated) X(I, remove_FrameCreated) X(I, add_DownloadStarting)             \
    X(I, remove_DownloadStarting)

#define WEBVIEW_11_METHODS(X, I)                                                            \
    WEBVIEW_4_METHODS(X, I)                                                                 \
    X(I, add_ClientCertificateRequested) X(I, remove_ClientCertificateRequested)            \
    X(I, OpenTaskManagerWindow) X(I, PrintToPdf) X(I, add_IsMutedChanged)                   \
    X(I, remove_IsMutedChanged) X(I, get_IsMuted) X(I, put_IsMuted)                         \
    X(I, add_IsDocumentPlayingAudioChanged) X(I, remove_IsDocumentPlayingAudioChanged)      \
    X(I, get_IsDocumentPlayingAudio) X(I, add_IsDefaultDownloadDialogOpenChanged)           \
    X(I, remove_IsDefaultDownloadDialogOpenChanged) X(I, get_IsDefaultDownloadDialogOpen)   \
    X(I, OpenDefaultDownloadDialog) X(I, CloseDefaultDownloadDialog)                        \
    X(I, get_DefaultDownloadDialogCornerAlignment) X(I, put_DefaultDownloadDialogCornerAlignment) \
    X(I, get_DefaultDownloadDialogMargin) X(I, put_DefaultDownloadDialogMargin)             \
    X(I, add_BasicAuthenticationRequested) X(I, remove_BasicAuthenticationRequested)        \
    X(I, CallDevToolsProtocolMethodForSession) X(I, add_ContextMenuRequested)               \
    X(I, remove_ContextMenuRequested)

#define CONTROLLER_2_METHODS(X, I)                                                          \
    CONTROLLER_METHODS(X, I) X(I, get_DefaultBackgroundColor) X(I, put_DefaultBackgroundColor)

#define SETTINGS_6_METHODS(X, I)                                                            \
    X(I, get_IsScriptEnabled) X(I, put_IsScriptEnabled) X(I, get_IsWebMessageEnabled)       \
    X(I, put_IsWebMessageEnabled) X(I, get_AreDefaultScriptDialogsEnabled)                  \
    X(I, put_AreDefaultScriptDialogsEnabled) X(I, get_IsStatusBarEnabled)                   \
    X(I, put_IsStatusBarEnabled) X(I, get_AreDevToolsEnabled) X(I, put_AreDevToolsEnabled)  \
    X(I, get_AreDefaultContextMenusEnabled) X(I, put_AreDefaultContextMenusEnabled)         \
    X(I, get_AreHostObjectsAllowed) X(I, put_AreHostObjectsAllowed)                         \
    X(I, get_IsZoomControlEnabled) X(I, put_IsZoomControlEnabled)                           \
    X(I, get_IsBuiltInErrorPageEnabled) X(I, put_IsBuiltInErrorPageEnabled)                 \
    X(I, get_UserAgent) X(I, put_UserAgent) X(I, get_AreBrowserAcceleratorKeysEnabled)      \
    X(I, put_AreBrowserAcceleratorKeysEnabled) X(I, get_IsPasswordAutosaveEnabled)          \
    X(I, put_IsPasswordAutosaveEnabled) X(I, get_IsGeneralAutofillEnabled)                  \
    X(I, put_IsGeneralAutofillEnabled) X(I, get_IsPinchZoomEnabled)                         \
    X(I, put_IsPinchZoomEnabled) X(I, get_IsSwipeNavigationEnabled)                         \
    X(I, put_IsSwipeNavigationEnabled)

#define CONTEXT_MENU_ARGS_METHODS(X, I)                                                     \
    X(I, get_MenuItems) X(I, get_ContextMenuTarget) X(I, get_Location)                      \
    X(I, put_SelectedCommandId) X(I, get_SelectedCommandId) X(I, put_Handled)               \
    X(I, get_Handled) X(I, GetDeferral)

#define CONTEXT_MENU_ITEMS_METHODS(X, I)                                                    \
    X(I, get_Count) X(I, GetValueAtIndex) X(I, RemoveValueAtIndex) X(I, InsertValueAtIndex)

#define CONTEXT_MENU_ITEM_METHODS(X, I)                                                     \
    X(I, get_Name) X(I, get_Label) X(I, get_CommandId) X(I, get_ShortcutKeyDescription)     \
    X(I, get_Icon) X(I, get_Kind) X(I, put_IsEnabled) X(I, get_IsEnabled) X(I, put_IsChecked) \
    X(I, get_IsChecked) X(I, get_Children) X(I, add_CustomItemSelected)                     \
    X(I, remove_CustomItemSelected)

#define NAVIGATION_COMPLETED_ARGS_METHODS(X, I)                                             \
    X(I, get_IsSuccess) X(I, get_WebErrorStatus) X(I, get_NavigationId)

#define INVOKE_METHODS(X, I) X(I, Invoke)

#define WEB_MESSAGE_ARGS_METHODS(X, I)                                                      \
    X(I, get_Source) X(I, get_WebMessageAsJson) X(I, TryGetWebMessageAsString)

#define NEW_WINDOW_ARGS_METHODS(X, I)                                                       \
    X(I, get_Uri) X(I, put_NewWindow) X(I, get_NewWindow) X(I, put_Handled)                 \
    X(I, get_Handled) X(I, get_IsUserInitiated) X(I, GetDeferral) X(I, get_WindowFeatures)

#define NEW_WINDOW_ARGS_2_METHODS(X, I) NEW_WINDOW_ARGS_METHODS(X, I) X(I, get_Name)
#define NEW_WINDOW_ARGS_3_METHODS(X, I) NEW_WINDOW_ARGS_2_METHODS(X, I) X(I, get_OriginalSourceFrameInfo)
#define FRAME_INFO_METHODS(X, I) X(I, get_Name) X(I, get_Source)

#define PERMISSION_ARGS_METHODS(X, I)                                                       \
    X(I, get_Uri) X(I, get_PermissionKind) X(I, get_IsUserInitiated) X(I, get_State)        \
    X(I, put_State) X(I, GetDeferral)

#define DOWNLOAD_STARTING_ARGS_METHODS(X, I)                                                \
    X(I, get_DownloadOperation) X(I, get_Cancel) X(I, put_Cancel) X(I, get_ResultFilePath)  \
    X(I, put_ResultFilePath) X(I, get_Handled) X(I, put_Handled) X(I, GetDeferral)

#define DOWNLOAD_OPERATION_METHODS(X, I)                                                    \
    X(I, add_BytesReceivedChanged) X(I, remove_BytesReceivedChanged)                        \
    X(I, add_EstimatedEndTimeChanged) X(I, remove_EstimatedEndTimeChanged)                  \
    X(I, add_StateChanged) X(I, remove_StateChanged) X(I, get_Uri)                          \
    X(I, get_ContentDisposition) X(I, get_MimeType) X(I, get_TotalBytesToReceive)           \
    X(I, get_BytesReceived) X(I, get_EstimatedEndTime) X(I, get_ResultFilePath)             \
    X(I, get_State) X(I, get_InterruptReason) X(I, Cancel) X(I, Pause) X(I, Resume)         \
    X(I, get_CanResume)

#define DEFERRAL_METHODS(X, I) X(I, Complete)

// Every interface the header declares, with the methods of its whole vtable.
#define WEBVIEW2_INTERFACES(X)                                                              \
    X(ICoreWebView2Environment, ENVIRONMENT_METHODS)                                        \
    X(ICoreWebView2EnvironmentOptions, ENVIRONMENT_OPTIONS_METHODS)                         \
    X(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, INVOKE_METHODS)           \
    X(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, INVOKE_METHODS)            \
    X(ICoreWebView2Controller, CONTROLLER_METHODS)                                          \
    X(ICoreWebView2, WEBVIEW_METHODS)                                                       \
    X(ICoreWebView2_2, WEBVIEW_2_METHODS)                                                   \
    X(ICoreWebView2_3, WEBVIEW_3_METHODS)                                                   \
    X(ICoreWebView2_4, WEBVIEW_4_METHODS)                                                   \
    X(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, INVOKE_METHODS)     \
    X(ICoreWebView2ExecuteScriptCompletedHandler, INVOKE_METHODS)                           \
    X(ICoreWebView2WebMessageReceivedEventHandler, INVOKE_METHODS)                          \
    X(ICoreWebView2WebMessageReceivedEventArgs, WEB_MESSAGE_ARGS_METHODS)                   \
    X(ICoreWebView2NewWindowRequestedEventHandler, INVOKE_METHODS)                          \
    X(ICoreWebView2NewWindowRequestedEventArgs, NEW_WINDOW_ARGS_METHODS)                    \
    X(ICoreWebView2NewWindowRequestedEventArgs2, NEW_WINDOW_ARGS_2_METHODS)                 \
    X(ICoreWebView2NewWindowRequestedEventArgs3, NEW_WINDOW_ARGS_3_METHODS)                 \
    X(ICoreWebView2FrameInfo, FRAME_INFO_METHODS)                                           \
    X(ICoreWebView2PermissionRequestedEventHandler, INVOKE_METHODS)                         \
    X(ICoreWebView2PermissionRequestedEventArgs, PERMISSION_ARGS_METHODS)                   \
    X(ICoreWebView2DownloadStartingEventHandler, INVOKE_METHODS)                            \
    X(ICoreWebView2DownloadStartingEventArgs, DOWNLOAD_STARTING_ARGS_METHODS)               \
    X(ICoreWebView2DownloadOperation, DOWNLOAD_OPERATION_METHODS)                           \
    X(ICoreWebView2StateChangedEventHandler, INVOKE_METHODS)                                \
    X(ICoreWebView2Deferral, DEFERRAL_METHODS)                                              \
    X(ICoreWebView2ProcessFailedEventHandler, INVOKE_METHODS)                               \
    X(ICoreWebView2ProcessFailedEventArgs, PROCESS_FAILED_ARGS_METHODS)                     \
    X(ICoreWebView2SourceChangedEventHandler, INVOKE_METHODS)                               \
    X(ICoreWebView2SourceChangedEventArgs, SOURCE_CHANGED_ARGS_METHODS)                     \
    X(ICoreWebView2ContentLoadingEventHandler, INVOKE_METHODS)                              \
    X(ICoreWebView2ContentLoadingEventArgs, CONTENT_LOADING_ARGS_METHODS)                   \
    X(ICoreWebView2NavigationStartingEventHandler, INVOKE_METHODS)                          \
    X(ICoreWebView2NavigationStartingEventArgs, NAVIGATION_STARTING_ARGS_METHODS)           \
    X(ICoreWebView2Controller2, CONTROLLER_2_METHODS)                                       \
    X(ICoreWebView2ZoomFactorChangedEventHandler, INVOKE_METHODS)                           \
    X(ICoreWebView2Settings6, SETTINGS_6_METHODS)                                           \
    X(ICoreWebView2_11, WEBVIEW_11_METHODS)                                                 \
    X(ICoreWebView2ContextMenuRequestedEventHandler, INVOKE_METHODS)                        \
    X(ICoreWebView2ContextMenuRequestedEventArgs, CONTEXT_MENU_ARGS_METHODS)                \
    X(ICoreWebView2ContextMenuItemCollection, CONTEXT_MENU_ITEMS_METHODS)                   \
    X(ICoreWebView2ContextMenuItem, CONTEXT_MENU_ITEM_METHODS)                              \
    X(ICoreWebView2NavigationCompletedEventHandler, INVOKE_METHODS)                         \
    X(ICoreWebView2NavigationCompletedEventArgs, NAVIGATION_COMPLETED_ARGS_METHODS) \
    X(ICoreWebView2NavigationCompletedEventArgs2, NAVIGATION_COMPLETED_ARGS_2_METHODS)     \
    X(ICoreWebView2Environment5, ENVIRONMENT_5_METHODS)                                     \
    X(ICoreWebView2BrowserProcessExitedEventHandler, INVOKE_METHODS)                        \
    X(ICoreWebView2BrowserProcessExitedEventArgs, BROWSER_PROCESS_EXITED_ARGS_METHODS)      \
    X(ICoreWebView2MoveFocusRequestedEventHandler, INVOKE_METHODS)                          \
    X(ICoreWebView2MoveFocusRequestedEventArgs, MOVE_FOCUS_ARGS_METHODS)                    \
    X(ICoreWebView2AcceleratorKeyPressedEventHandler, INVOKE_METHODS)                       \
    X(ICoreWebView2AcceleratorKeyPressedEventArgs, ACCELERATOR_KEY_ARGS_METHODS)

#define PROCESS_FAILED_ARGS_METHODS(X, I) X(I, get_ProcessFailedKind)
#define ENVIRONMENT_5_METHODS(X, I)                                                         \
    ENVIRONMENT_METHODS(X, I) X(I, CreateWebResourceRequest)                                \
    X(I, CreateCoreWebView2CompositionController) X(I, CreateCoreWebView2PointerInfo)       \
    X(I, GetAutomationProviderForWindow) X(I, add_BrowserProcessExited)                     \
    X(I, remove_BrowserProcessExited)
#define BROWSER_PROCESS_EXITED_ARGS_METHODS(X, I) X(I, get_BrowserProcessExitKind) X(I, get_BrowserProcessId)
#define MOVE_FOCUS_ARGS_METHODS(X, I) X(I, get_Reason) X(I, get_Handled) X(I, put_Handled)
#define ACCELERATOR_KEY_ARGS_METHODS(X, I)                                                  \
    X(I, get_KeyEventKind) X(I, get_VirtualKey) X(I, get_KeyEventLParam)                    \
    X(I, get_PhysicalKeyStatus) X(I, get_Handled) X(I, put_Handled)
#define SOURCE_CHANGED_ARGS_METHODS(X, I) X(I, get_IsNewDocument)
#define CONTENT_LOADING_ARGS_METHODS(X, I) X(I, get_IsErrorPage) X(I, get_NavigationId)
#define NAVIGATION_STARTING_ARGS_METHODS(X, I)                                              \
    X(I, get_Uri) X(I, get_IsUserInitiated) X(I, get_IsRedirected) X(I, get_RequestHeaders) \
    X(I, get_Cancel) X(I, put_Cancel) X(I, get_NavigationId)
#define NAVIGATION_COMPLETED_ARGS_2_METHODS(X, I) NAVIGATION_COMPLETED_ARGS_METHODS(X, I) X(I, get_HttpStatusCode)

#define DECLARED_SLOTS(I, METHODS) METHODS(SLOT, I)

const std::vector<DeclaredSlot>& declared_slots() {
    static const std::vector<DeclaredSlot> slots{WEBVIEW2_INTERFACES(DECLARED_SLOTS)};
    return slots;
}

std::string iid_text(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

#define DECLARED_IID(I, METHODS) {#I, iid_text(wm::host::iid_of<I>)},

const std::map<std::string, std::string>& declared_iids() {
    static const std::map<std::string, std::string> iids{WEBVIEW2_INTERFACES(DECLARED_IID)};
    return iids;
}

struct Published {
    std::map<std::pair<std::string, std::string>, long> slots;  // (interface, method) -> slot
    std::map<std::string, std::string> iids;
};

Published read_published(const char* path) {
    Published published;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kind, interface_name;
        std::getline(fields, kind, '\t');
        std::getline(fields, interface_name, '\t');
        if (kind == "iid") {
            std::getline(fields, published.iids[interface_name]);
        } else if (kind == "slot") {
            std::string slot, method;
            std::getline(fields, slot, '\t');
            std::getline(fields, method);
            published.slots[{interface_name, method}] = std::stol(slot);
        }
    }
    return published;
}

class WebView2Declarations : public testing::Test {
protected:
    static void SetUpTestSuite() { published_ = read_published(WM_SLOTS_TSV); }

    static Published published_;
};

Published WebView2Declarations::published_;

TEST_F(WebView2Declarations, PublishedTableIsRead) {
    ASSERT_FALSE(published_.slots.empty()) << "no slots read from " << WM_SLOTS_TSV;
    ASSERT_FALSE(published_.iids.empty()) << "no IIDs read from " << WM_SLOTS_TSV;
}

TEST_F(WebView2Declarations, EveryPublishedMethodIsDeclaredInItsSlot) {
    std::map<std::pair<std::string, std::string>, long> declared;
    for (const auto& d : declared_slots()) declared[{d.interface_name, d.method}] = d.slot;
    for (const auto& [key, slot] : published_.slots) {
        const auto& [interface_name, method] = key;
        const auto found = declared.find(key);
        if (found == declared.end()) {
            ADD_FAILURE() << interface_name << "::" << method << " is published at slot " << slot
                          << " but missing from this test's list";
            continue;
        }
        EXPECT_NE(found->second, not_declared)
            << interface_name << "::" << method << " is not declared in the header";
        EXPECT_NE(found->second, not_virtual)
            << interface_name << "::" << method << " is not a virtual method";
        if (found->second >= 0) {
            EXPECT_EQ(found->second, slot) << interface_name << "::" << method;
        }
    }
}

TEST_F(WebView2Declarations, EveryDeclaredMethodIsPublished) {
    for (const auto& d : declared_slots()) {
        EXPECT_TRUE(published_.slots.contains({d.interface_name, d.method}))
            << d.interface_name << "::" << d.method << " is not in the published table";
    }
}

TEST_F(WebView2Declarations, EveryInterfaceHasThePublishedIid) {
    for (const auto& [interface_name, iid] : declared_iids()) {
        const auto found = published_.iids.find(interface_name);
        if (found == published_.iids.end()) {
            ADD_FAILURE() << interface_name << " has no published IID";
            continue;
        }
        EXPECT_EQ(iid, found->second) << interface_name;
    }
    std::set<std::string> published_interfaces;
    for (const auto& [key, slot] : published_.slots) published_interfaces.insert(key.first);
    for (const auto& [interface_name, iid] : published_.iids) published_interfaces.insert(interface_name);
    for (const auto& interface_name : published_interfaces) {
        EXPECT_TRUE(declared_iids().contains(interface_name))
            << interface_name << " is published but not checked here";
    }
}

}  // namespace
