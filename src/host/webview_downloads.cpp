#include "host/webview.h"

#include "host/text.h"

namespace wm::host {

HRESULT WebView2View::watch_downloads() {
    webview4_ = webview_.query<ICoreWebView2_4>();
    if (!webview4_) return S_OK;  // E_NOINTERFACE: a runtime too old to report downloads
    return webview4_->add_DownloadStarting(
        make_handler<ICoreWebView2DownloadStartingEventHandler>([this](auto* sender, auto* args) {
            on_download_starting(sender, args);
        }).get(),
        &download_token_);
}

void WebView2View::on_download_starting(ICoreWebView2* sender, ICoreWebView2DownloadStartingEventArgs* args) const {
    // Kept from the runtime's own download interface, whatever else fails.
    (void)args->put_Handled(TRUE);
    ComPtr<ICoreWebView2DownloadOperation> operation;
    CoTaskString uri;
    CoTaskString proposed;
    CoTaskString source;
    // The download is judged by the page that started it, and so is its end, not whatever the
    // window shows when it ends. A page that cannot be told is foreign.
    if (FAILED(sender->get_Source(source.put())) || !source.get()) {
        (void)args->put_Cancel(TRUE);
        return;
    }
    // A download that cannot be judged does not run: it might be the update, or land anywhere.
    if (FAILED(args->get_DownloadOperation(operation.put())) || !operation || FAILED(operation->get_Uri(uri.put())) ||
        !uri.get() || FAILED(args->get_ResultFilePath(proposed.put())) || !proposed.get()) {
        (void)args->put_Cancel(TRUE);
        return;
    }
    FinishedDownload download;
    download.address = to_utf8(uri.get());
    download.source_page = to_utf8(source.get());
    const auto target = handlers_.download_starting(download.source_page, download.address, proposed.get());
    if (!target) {
        (void)args->put_Cancel(TRUE);
        return;
    }
    (void)args->put_ResultFilePath(target->c_str());
    report_download_end(*operation.get(), std::move(download), handlers_.download_finished);
}

void WebView2View::report_download_end(ICoreWebView2DownloadOperation& operation, FinishedDownload download,
                                       std::function<void(const FinishedDownload&)> finished) {
    // The handler holds what it reports, not the view: a download may end after its window.
    auto token = std::make_shared<EventRegistrationToken>();
    (void)operation.add_StateChanged(
        make_handler<ICoreWebView2StateChangedEventHandler>([finished = std::move(finished),
                                                             download = std::move(download),
                                                             token](ICoreWebView2DownloadOperation* ended, IUnknown*) {
            COREWEBVIEW2_DOWNLOAD_STATE state = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
            if (FAILED(ended->get_State(&state)) || state == COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS) return;
            // Removing the handler may release this closure: keep what it holds.
            const auto report = finished;
            FinishedDownload result = download;
            (void)ended->remove_StateChanged(*token);
            result.completed = state == COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED;
            CoTaskString path;
            if (result.completed && SUCCEEDED(ended->get_ResultFilePath(path.put())) && path.get())
                result.result_path = std::u16string(reinterpret_cast<const char16_t*>(path.get()));
            report(result);
        }).get(),
        token.get());
}

}  // namespace wm::host
