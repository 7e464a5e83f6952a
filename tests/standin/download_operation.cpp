#include "download_operation.h"

#include "handles.h"
#include "text.h"

namespace standin {

void DownloadOperation::finish(COREWEBVIEW2_DOWNLOAD_STATE state,
                               const std::optional<std::wstring>& content_file) {
    if (state == COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED && !write_result(content_file)) {
        reporter_.write("download_write_failed", result_path_);
        state = COREWEBVIEW2_DOWNLOAD_STATE_INTERRUPTED;
    }
    state_ = state;
    reporter_.write("download_state",
                    L"state=" + std::to_wstring(state) + L" path=" + result_path_);
    if (!*starter_open_) return;
    for (const auto& handler : state_changed_.handlers()) {
        (void)handler->Invoke(this, nullptr);  // the runtime ignores what handlers return
    }
}

bool DownloadOperation::write_result(const std::optional<std::wstring>& content_file) const {
    if (content_file) return CopyFileW(content_file->c_str(), result_path_.c_str(), FALSE) != 0;
    const UniqueHandle file(CreateFileW(result_path_.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid();
}

HRESULT STDMETHODCALLTYPE DownloadOperation::add_StateChanged(
    ICoreWebView2StateChangedEventHandler* eventHandler, EventRegistrationToken* token) noexcept {
    return state_changed_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE DownloadOperation::remove_StateChanged(
    EventRegistrationToken token) noexcept {
    return state_changed_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE DownloadOperation::get_Uri(LPWSTR* uri) noexcept {
    // An empty address stands for one whose copy failed, the getter's one documented failure.
    if (uri_.empty()) return E_OUTOFMEMORY;
    return copy_out(uri_, uri);
}

HRESULT STDMETHODCALLTYPE DownloadOperation::get_ResultFilePath(LPWSTR* resultFilePath) noexcept {
    return copy_out(result_path_, resultFilePath);
}

HRESULT STDMETHODCALLTYPE DownloadOperation::get_State(
    COREWEBVIEW2_DOWNLOAD_STATE* downloadState) noexcept {
    if (!downloadState) return E_POINTER;
    *downloadState = state_;
    return S_OK;
}

}  // namespace standin
