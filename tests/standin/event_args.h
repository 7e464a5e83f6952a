#pragma once
// The arguments of the events the stand-in raises. They record what the host's handlers set;
// the web view reads it back through the same getters once the answer is due.

#include <memory>
#include <optional>
#include <string>

#include "answer.h"
#include "com_support.h"
#include "log.h"
#include "text.h"

namespace standin {

class WebMessageArgs final : public ComObject<ICoreWebView2WebMessageReceivedEventArgs> {
public:
    // A string message; its JSON form is made from it. Reading the text leaves a `message_read`
    // line, so a test sees whether the shell looked at a message before dropping it.
    WebMessageArgs(std::wstring source, std::wstring message, Reporter reporter)
        : source_(std::move(source)),
          json_(json_string(message)),
          message_(std::move(message)),
          reporter_(std::move(reporter)) {}
    // A message given as JSON, as the page posted a value that need not be a string.
    static ComPtr<WebMessageArgs> from_json(std::wstring source, std::wstring json, Reporter reporter);

    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) noexcept override;
    HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) noexcept override;

private:
    std::wstring source_;
    std::wstring json_;
    std::optional<std::wstring> message_;  // nothing when the value is not a string
    Reporter reporter_;
};

// The frame that asked for a new window, as the runtime's snapshot of it.
class FrameInfo final : public ComObject<ICoreWebView2FrameInfo> {
public:
    explicit FrameInfo(std::wstring source) : source_(std::move(source)) {}
    // The stand-in's frames have no names.
    HRESULT STDMETHODCALLTYPE get_Name(LPWSTR* name) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* source) noexcept override;

private:
    std::wstring source_;
};

// Answers for the earlier args interfaces too, as the runtime of its version does.
class NewWindowArgs final : public ComObject<ICoreWebView2NewWindowRequestedEventArgs3> {
public:
    NewWindowArgs(std::wstring uri, BOOL user_initiated, std::wstring frame_source,
                  std::shared_ptr<PendingAnswer> answer, Reporter reporter)
        : uri_(std::move(uri)),
          user_initiated_(user_initiated),
          frame_source_(std::move(frame_source)),
          answer_(std::move(answer)),
          reporter_(std::move(reporter)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) noexcept override;
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) noexcept override;
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) noexcept override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) noexcept override;
    STANDIN_UNUSED(get_WindowFeatures, ICoreWebView2WindowFeatures**)
    STANDIN_UNUSED(get_Name, LPWSTR*)
    HRESULT STDMETHODCALLTYPE get_OriginalSourceFrameInfo(ICoreWebView2FrameInfo** frame) noexcept override;

private:
    std::wstring uri_;
    BOOL user_initiated_;
    std::wstring frame_source_;
    std::shared_ptr<PendingAnswer> answer_;
    Reporter reporter_;
    ComPtr<ICoreWebView2> new_window_;
    BOOL handled_ = FALSE;
};

class PermissionArgs final : public ComObject<ICoreWebView2PermissionRequestedEventArgs> {
public:
    PermissionArgs(std::wstring uri, COREWEBVIEW2_PERMISSION_KIND kind,
                   std::shared_ptr<PendingAnswer> answer)
        : uri_(std::move(uri)), kind_(kind), answer_(std::move(answer)) {}

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) noexcept override;
    HRESULT STDMETHODCALLTYPE get_PermissionKind(
        COREWEBVIEW2_PERMISSION_KIND* permissionKind) noexcept override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) noexcept override;
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) noexcept override;
    HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) noexcept override;

private:
    std::wstring uri_;
    COREWEBVIEW2_PERMISSION_KIND kind_;
    std::shared_ptr<PendingAnswer> answer_;
    COREWEBVIEW2_PERMISSION_STATE state_ = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
};

class DownloadStartingArgs final : public ComObject<ICoreWebView2DownloadStartingEventArgs> {
public:
    DownloadStartingArgs(ComPtr<ICoreWebView2DownloadOperation> operation,
                         std::wstring proposed_path, std::shared_ptr<PendingAnswer> answer)
        : operation_(std::move(operation)),
          result_path_(std::move(proposed_path)),
          answer_(std::move(answer)) {}

    HRESULT STDMETHODCALLTYPE get_DownloadOperation(
        ICoreWebView2DownloadOperation** downloadOperation) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* resultFilePath) noexcept override;
    HRESULT STDMETHODCALLTYPE put_ResultFilePath(LPCWSTR resultFilePath) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) noexcept override;

private:
    ComPtr<ICoreWebView2DownloadOperation> operation_;
    std::wstring result_path_;
    std::shared_ptr<PendingAnswer> answer_;
    BOOL cancel_ = FALSE;
    BOOL handled_ = FALSE;
};

class SourceChangedArgs final : public ComObject<ICoreWebView2SourceChangedEventArgs> {
public:
    explicit SourceChangedArgs(BOOL new_document) : new_document_(new_document) {}

    HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* value) noexcept override {
        if (!value) return E_POINTER;
        *value = new_document_;
        return S_OK;
    }

private:
    BOOL new_document_;
};

// A navigation about to start, never cancelled by a handler of the shell's.
class NavigationStartingArgs final : public ComObject<ICoreWebView2NavigationStartingEventArgs> {
public:
    NavigationStartingArgs(std::wstring uri, UINT64 id, Reporter reporter)
        : uri_(std::move(uri)), id_(id), reporter_(std::move(reporter)) {}

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) noexcept override { return copy_out(uri_, uri); }
    STANDIN_UNUSED(get_IsUserInitiated, BOOL*)
    STANDIN_UNUSED(get_IsRedirected, BOOL*)
    STANDIN_UNUSED(get_RequestHeaders, ICoreWebView2HttpRequestHeaders**)
    STANDIN_UNUSED(get_Cancel, BOOL*)
    STANDIN_UNUSED(put_Cancel, BOOL)
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) noexcept override {
        return value ? (*value = id_, S_OK) : E_POINTER;
    }

private:
    std::wstring uri_;
    UINT64 id_;
    Reporter reporter_;
};

class ContentLoadingArgs final : public ComObject<ICoreWebView2ContentLoadingEventArgs> {
public:
    ContentLoadingArgs(UINT64 navigation_id, BOOL error_page) : navigation_id_(navigation_id), error_page_(error_page) {}

    HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* value) noexcept override {
        if (!value) return E_POINTER;
        *value = error_page_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) noexcept override {
        if (!value) return E_POINTER;
        *value = navigation_id_;
        return S_OK;
    }

private:
    UINT64 navigation_id_;
    BOOL error_page_;
};

// Answers for the first args interface too, as the runtime of its version does.
class NavigationCompletedArgs final : public ComObject<ICoreWebView2NavigationCompletedEventArgs2> {
public:
    NavigationCompletedArgs(UINT64 navigation_id, COREWEBVIEW2_WEB_ERROR_STATUS status, int http_status)
        : navigation_id_(navigation_id), status_(status), http_status_(http_status) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (out && IsEqualIID(iid, iid_of<ICoreWebView2NavigationCompletedEventArgs>)) {
            *out = static_cast<ICoreWebView2NavigationCompletedEventArgs2*>(this);
            AddRef();
            return S_OK;
        }
        return ComObject::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* value) noexcept override {
        if (!value) return E_POINTER;
        // FALSE also for a server's answer of 400 or more, as for "HTTP server responds with 4xx".
        *value = status_ == COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN && http_status_ < 400 ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) noexcept override {
        if (!value) return E_POINTER;
        *value = status_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) noexcept override {
        if (!value) return E_POINTER;
        *value = navigation_id_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HttpStatusCode(int* value) noexcept override {
        if (!value) return E_POINTER;
        *value = http_status_;
        return S_OK;
    }

private:
    UINT64 navigation_id_;
    COREWEBVIEW2_WEB_ERROR_STATUS status_;  // UNKNOWN for a success
    int http_status_;
};

class ProcessFailedArgs final : public ComObject<ICoreWebView2ProcessFailedEventArgs> {
public:
    explicit ProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND kind) : kind_(kind) {}

    HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) noexcept override {
        if (!value) return E_POINTER;
        *value = kind_;
        return S_OK;
    }

private:
    COREWEBVIEW2_PROCESS_FAILED_KIND kind_;
};

class BrowserProcessExitedArgs final : public ComObject<ICoreWebView2BrowserProcessExitedEventArgs> {
public:
    explicit BrowserProcessExitedArgs(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind) : kind_(kind) {}

    HRESULT STDMETHODCALLTYPE get_BrowserProcessExitKind(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND* value) noexcept override {
        return value ? (*value = kind_, S_OK) : E_POINTER;
    }
    // The stand-in's browser is the host's process.
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) noexcept override {
        return value ? (*value = GetCurrentProcessId(), S_OK) : E_POINTER;
    }

private:
    COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind_;
};

}  // namespace standin
