#pragma once
// The WebView2 event handler, event argument and completion interfaces the shell uses, in the
// vendor's slot order (host/webview2.h says why it matters).

#include "host/webview2_types.h"

// Slots 3-3.
struct ICoreWebView2ContextMenuRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ContextMenuRequestedEventArgs* args) = 0;
};

// Slots 3-10.
struct ICoreWebView2ContextMenuRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_MenuItems(ICoreWebView2ContextMenuItemCollection** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContextMenuTarget(ICoreWebView2ContextMenuTarget** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Location(POINT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SelectedCommandId(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SelectedCommandId(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};

// Slots 3-6.
struct ICoreWebView2ContextMenuItemCollection : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Count(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValueAtIndex(UINT32 index, ICoreWebView2ContextMenuItem** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveValueAtIndex(UINT32 index) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertValueAtIndex(UINT32 index, ICoreWebView2ContextMenuItem* value) = 0;
};

// Slots 3-15.
struct ICoreWebView2ContextMenuItem : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Name(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Label(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandId(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShortcutKeyDescription(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Icon(IStream** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsEnabled(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsEnabled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsChecked(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsChecked(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Children(ICoreWebView2ContextMenuItemCollection** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_CustomItemSelected(ICoreWebView2CustomItemSelectedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_CustomItemSelected(EventRegistrationToken token) = 0;
};

// Slots 3-3.
struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) = 0;
};

// Slots 3-5.
struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) = 0;
};

// Slots 6-6.
struct ICoreWebView2NavigationCompletedEventArgs2 : public ICoreWebView2NavigationCompletedEventArgs {
    virtual HRESULT STDMETHODCALLTYPE get_HttpStatusCode(int* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR result) = 0;
};

// Slots 3-3.
struct ICoreWebView2ExecuteScriptCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR result) = 0;
};

// Slots 3-3.
struct ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2WebMessageReceivedEventArgs* args) = 0;
};

// Slots 3-5.
struct ICoreWebView2WebMessageReceivedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) = 0;
};

// Slots 3-10.
struct ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** value) = 0;
};

// Slots 11-11. Newer runtimes' args answer for it (and Args3) on QueryInterface.
struct ICoreWebView2NewWindowRequestedEventArgs2 : public ICoreWebView2NewWindowRequestedEventArgs {
    virtual HRESULT STDMETHODCALLTYPE get_Name(LPWSTR* value) = 0;
};

// Slots 12-12.
struct ICoreWebView2NewWindowRequestedEventArgs3 : public ICoreWebView2NewWindowRequestedEventArgs2 {
    virtual HRESULT STDMETHODCALLTYPE get_OriginalSourceFrameInfo(ICoreWebView2FrameInfo** value) = 0;
};

// Slots 3-4. A snapshot of the frame (top document or iframe) whose script or link asked.
struct ICoreWebView2FrameInfo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Name(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2PermissionRequestedEventArgs* args) = 0;
};

// Slots 3-8.
struct ICoreWebView2PermissionRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};

// Slots 3-3.
struct ICoreWebView2DownloadStartingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2DownloadStartingEventArgs* args) = 0;
};

// Slots 3-10.
struct ICoreWebView2DownloadStartingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_DownloadOperation(ICoreWebView2DownloadOperation** downloadOperation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* resultFilePath) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ResultFilePath(LPCWSTR resultFilePath) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};

// Slots 3-21.
struct ICoreWebView2DownloadOperation : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE add_BytesReceivedChanged(ICoreWebView2BytesReceivedChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_BytesReceivedChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_EstimatedEndTimeChanged(ICoreWebView2EstimatedEndTimeChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_EstimatedEndTimeChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_StateChanged(ICoreWebView2StateChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_StateChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentDisposition(LPWSTR* contentDisposition) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MimeType(LPWSTR* mimeType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TotalBytesToReceive(INT64* totalBytesToReceive) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BytesReceived(INT64* bytesReceived) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EstimatedEndTime(LPWSTR* estimatedEndTime) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* resultFilePath) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_DOWNLOAD_STATE* downloadState) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_InterruptReason(COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON* interruptReason) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
    virtual HRESULT STDMETHODCALLTYPE Resume() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanResume(BOOL* canResume) = 0;
};

// Slots 3-3.
struct ICoreWebView2StateChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2DownloadOperation* sender, IUnknown* args) = 0;
};

// Slots 3-3.
struct ICoreWebView2Deferral : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Complete() = 0;
};

// Slots 3-3.
struct ICoreWebView2ProcessFailedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ProcessFailedEventArgs* args) = 0;
};

// Slots 3-3.
struct ICoreWebView2ProcessFailedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2SourceChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs* args) = 0;
};

// Slots 3-3.
struct ICoreWebView2SourceChangedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2ContentLoadingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args) = 0;
};

// Slots 3-4.
struct ICoreWebView2ContentLoadingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2BrowserProcessExitedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Environment* sender, ICoreWebView2BrowserProcessExitedEventArgs* args) = 0;
};

// Slots 3-4.
struct ICoreWebView2BrowserProcessExitedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessExitKind(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) = 0;
};

// Slots 3-9.
struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) = 0;
};

// Slots 3-3.
struct ICoreWebView2MoveFocusRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, ICoreWebView2MoveFocusRequestedEventArgs* args) = 0;
};

// Slots 3-5.
struct ICoreWebView2MoveFocusRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) = 0;
};

// Slots 3-3.
struct ICoreWebView2AcceleratorKeyPressedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, ICoreWebView2AcceleratorKeyPressedEventArgs* args) = 0;
};

// Slots 3-8.
struct ICoreWebView2AcceleratorKeyPressedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* virtualKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* physicalKeyStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
};
