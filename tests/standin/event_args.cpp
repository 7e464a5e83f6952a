#include "event_args.h"

#include "text.h"

namespace standin {
namespace {

HRESULT store(BOOL value, BOOL* out) noexcept {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE WebMessageArgs::get_Source(LPWSTR* value) noexcept {
    return copy_out(source_, value);
}

ComPtr<WebMessageArgs> WebMessageArgs::from_json(std::wstring source, std::wstring json, Reporter reporter) {
    auto args = make_object<WebMessageArgs>(std::move(source), std::wstring(), std::move(reporter));
    if (!args) return args;
    args->json_ = std::move(json);
    args->message_.reset();
    return args;
}

HRESULT STDMETHODCALLTYPE WebMessageArgs::get_WebMessageAsJson(LPWSTR* value) noexcept {
    reporter_.write("message_read");
    return copy_out(json_, value);
}

HRESULT STDMETHODCALLTYPE WebMessageArgs::TryGetWebMessageAsString(LPWSTR* value) noexcept {
    reporter_.write("message_read");
    if (!message_) {
        if (value) *value = nullptr;
        return E_INVALIDARG;  // as the runtime answers for a value that is not a string
    }
    return copy_out(*message_, value);
}

HRESULT STDMETHODCALLTYPE FrameInfo::get_Name(LPWSTR* name) noexcept {
    return copy_out(L"", name);
}

HRESULT STDMETHODCALLTYPE FrameInfo::get_Source(LPWSTR* source) noexcept {
    return copy_out(source_, source);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::QueryInterface(REFIID iid, void** out) noexcept {
    if (out && (IsEqualIID(iid, iid_of<ICoreWebView2NewWindowRequestedEventArgs>) ||
                IsEqualIID(iid, iid_of<ICoreWebView2NewWindowRequestedEventArgs2>))) {
        *out = static_cast<ICoreWebView2NewWindowRequestedEventArgs3*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject::QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::get_OriginalSourceFrameInfo(ICoreWebView2FrameInfo** frame) noexcept {
    if (!frame) return E_POINTER;
    *frame = nullptr;
    const auto info = make_object<FrameInfo>(frame_source_);
    return hand_out(info.get(), frame);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::get_Uri(LPWSTR* uri) noexcept {
    return copy_out(uri_, uri);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::put_NewWindow(ICoreWebView2* newWindow) noexcept {
    new_window_ = ComPtr<ICoreWebView2>(newWindow);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::get_NewWindow(ICoreWebView2** newWindow) noexcept {
    return hand_out(new_window_.get(), newWindow);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::put_Handled(BOOL handled) noexcept {
    handled_ = handled;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::get_Handled(BOOL* handled) noexcept {
    return store(handled_, handled);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::get_IsUserInitiated(BOOL* isUserInitiated) noexcept {
    return store(user_initiated_, isUserInitiated);
}

HRESULT STDMETHODCALLTYPE NewWindowArgs::GetDeferral(ICoreWebView2Deferral** deferral) noexcept {
    return answer_->defer(deferral);
}

HRESULT STDMETHODCALLTYPE PermissionArgs::get_Uri(LPWSTR* uri) noexcept {
    return copy_out(uri_, uri);
}

HRESULT STDMETHODCALLTYPE PermissionArgs::get_PermissionKind(
    COREWEBVIEW2_PERMISSION_KIND* permissionKind) noexcept {
    if (!permissionKind) return E_POINTER;
    *permissionKind = kind_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PermissionArgs::get_IsUserInitiated(BOOL* isUserInitiated) noexcept {
    return store(TRUE, isUserInitiated);
}

HRESULT STDMETHODCALLTYPE PermissionArgs::get_State(
    COREWEBVIEW2_PERMISSION_STATE* state) noexcept {
    if (!state) return E_POINTER;
    *state = state_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PermissionArgs::put_State(COREWEBVIEW2_PERMISSION_STATE state) noexcept {
    if (state < COREWEBVIEW2_PERMISSION_STATE_DEFAULT || state > COREWEBVIEW2_PERMISSION_STATE_DENY) {
        return E_INVALIDARG;
    }
    state_ = state;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PermissionArgs::GetDeferral(ICoreWebView2Deferral** deferral) noexcept {
    return answer_->defer(deferral);
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::get_DownloadOperation(
    ICoreWebView2DownloadOperation** downloadOperation) noexcept {
    return hand_out(operation_.get(), downloadOperation);
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::get_Cancel(BOOL* cancel) noexcept {
    return store(cancel_, cancel);
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::put_Cancel(BOOL cancel) noexcept {
    cancel_ = cancel;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::get_ResultFilePath(
    LPWSTR* resultFilePath) noexcept {
    // An empty path stands for one whose copy failed, as for the download's address.
    if (result_path_.empty()) return E_OUTOFMEMORY;
    return copy_out(result_path_, resultFilePath);
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::put_ResultFilePath(
    LPCWSTR resultFilePath) noexcept {
    if (!resultFilePath) return E_INVALIDARG;
    result_path_ = resultFilePath;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::get_Handled(BOOL* handled) noexcept {
    return store(handled_, handled);
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::put_Handled(BOOL handled) noexcept {
    handled_ = handled;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DownloadStartingArgs::GetDeferral(
    ICoreWebView2Deferral** deferral) noexcept {
    return answer_->defer(deferral);
}

}  // namespace standin
