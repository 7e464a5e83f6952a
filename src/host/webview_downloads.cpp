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
    ComPtr<ICoreWebView2DownloadOperation> operation;
    CoTaskString uri;
    CoTaskString proposed;
    CoTaskString source;
    // The download is judged by the page that started it, and so is its end, not whatever the
    // window shows when it ends. A page that cannot be told is foreign. A download that cannot be
    // judged does not run: it might be the update, or land anywhere.
    DownloadRoute route;
    FinishedDownload download;
    if (SUCCEEDED(sender->get_Source(source.put())) && source.get() &&
        SUCCEEDED(args->get_DownloadOperation(operation.put())) && operation &&
        SUCCEEDED(operation->get_Uri(uri.put())) && uri.get() && SUCCEEDED(args->get_ResultFilePath(proposed.put())) &&
        proposed.get()) {
        download.address = to_utf8(uri.get());
        download.source_page = to_utf8(source.get());
        route = handlers_.download_starting(download.source_page, download.address, proposed.get());
    }
    switch (route.kind) {
    case DownloadRoute::Kind::visible:
        (void)args->put_Handled(FALSE);  // the user sees it, and decides
        break;
    case DownloadRoute::Kind::cancelled:
        (void)args->put_Handled(TRUE);
        (void)args->put_Cancel(TRUE);
        break;
    case DownloadRoute::Kind::silent:
        (void)args->put_Handled(TRUE);
        (void)args->put_ResultFilePath(route.path.c_str());
        handlers_.download_followed(std::move(operation), std::move(download));
        break;
    }
}

}  // namespace wm::host
