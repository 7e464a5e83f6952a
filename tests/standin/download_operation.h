#pragma once
// A download the stand-in pretends to run: it starts in progress, and when the test's command
// says so it ends completed (the result file is written) or interrupted.

#include <memory>
#include <optional>
#include <string>

#include "com_support.h"
#include "event_registry.h"
#include "log.h"

namespace standin {

class DownloadOperation final : public ComObject<ICoreWebView2DownloadOperation> {
public:
    // `starter_open` holds while the web view that started it is open.
    DownloadOperation(std::wstring uri, std::wstring result_path, Reporter reporter,
                      std::shared_ptr<const bool> starter_open)
        : uri_(std::move(uri)),
          result_path_(std::move(result_path)),
          reporter_(std::move(reporter)),
          starter_open_(std::move(starter_open)) {}

    // Where the host's DownloadStarting handlers decided the file goes.
    void set_result_path(std::wstring path) { result_path_ = std::move(path); }

    // Ends the download and raises StateChanged, unless the web view that started it has closed
    // (as the runtime has been reported to do). A completed download writes its result file,
    // a copy of content_file or an empty file; when that fails the download ends interrupted.
    void finish(COREWEBVIEW2_DOWNLOAD_STATE state, const std::optional<std::wstring>& content_file);

    HRESULT STDMETHODCALLTYPE add_StateChanged(ICoreWebView2StateChangedEventHandler* eventHandler,
                                               EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_StateChanged(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* resultFilePath) noexcept override;
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_DOWNLOAD_STATE* downloadState) noexcept override;

    STANDIN_UNUSED(add_BytesReceivedChanged, ICoreWebView2BytesReceivedChangedEventHandler*,
                   EventRegistrationToken*)
    STANDIN_UNUSED(remove_BytesReceivedChanged, EventRegistrationToken)
    STANDIN_UNUSED(add_EstimatedEndTimeChanged, ICoreWebView2EstimatedEndTimeChangedEventHandler*,
                   EventRegistrationToken*)
    STANDIN_UNUSED(remove_EstimatedEndTimeChanged, EventRegistrationToken)
    STANDIN_UNUSED(get_ContentDisposition, LPWSTR*)
    STANDIN_UNUSED(get_MimeType, LPWSTR*)
    STANDIN_UNUSED(get_TotalBytesToReceive, INT64*)
    STANDIN_UNUSED(get_BytesReceived, INT64*)
    STANDIN_UNUSED(get_EstimatedEndTime, LPWSTR*)
    STANDIN_UNUSED(get_InterruptReason, COREWEBVIEW2_DOWNLOAD_INTERRUPT_REASON*)
    STANDIN_UNUSED(Cancel)
    STANDIN_UNUSED(Pause)
    STANDIN_UNUSED(Resume)
    STANDIN_UNUSED(get_CanResume, BOOL*)

private:
    bool write_result(const std::optional<std::wstring>& content_file) const;

    std::wstring uri_;
    std::wstring result_path_;
    Reporter reporter_;
    std::shared_ptr<const bool> starter_open_;
    COREWEBVIEW2_DOWNLOAD_STATE state_ = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
    TokenSource tokens_;
    EventRegistry<ICoreWebView2StateChangedEventHandler> state_changed_{"StateChanged"};
};

}  // namespace standin
