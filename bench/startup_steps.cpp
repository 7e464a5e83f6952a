// The shell's start-up step by step: the shell's own start-up functions called in the order its
// entry calls them, each timed, in a fresh process per run, with the shell's own resources and
// manifest. The timing lives here so that the shipped program carries none. Writes one line per
// step to the standard output, "name<TAB>milliseconds"; the first step runs from the driver's
// tick before CreateProcessW (the variable WM_BENCH_CREATED_AT) to the entry. After the steps of
// a start come those a start makes only when they are needed, each marked so: the strip, the
// snap window and the notification activator.

#include <ole2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_files.h"
#include "app/shell_window.h"
#include "base/product.h"
#include "bridge/init_script.h"
#include "features/autostart_win.h"
#include "features/icon_variant_win.h"
#include "features/icon_variants.h"
#include "features/state_files.h"
#include "host/event_loop.h"
#include "host/file_io.h"
#include "host/first_frame.h"
#include "host/frameless_window.h"
#include "host/text.h"
#include "host/webview.h"
#include "host/webview2_loader.h"
#include "notify/toast_activator_win.h"
#include "resource_ids.h"
#include "update/update_files_win.h"

namespace {

std::int64_t ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

class Steps {
public:
    explicit Steps(std::int64_t since) : last_(since) {}
    void done(const char* name) {
        const std::int64_t now = ticks();
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        text_ += std::string(name) + "\t" +
                 std::to_string(1000.0 * static_cast<double>(now - last_) / static_cast<double>(frequency.QuadPart)) +
                 "\n";
        last_ = ticks();  // the line's own cost is not the next step's
    }
    void write() const {
        DWORD written = 0;
        (void)WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text_.data(), static_cast<DWORD>(text_.size()), &written,
                        nullptr);
    }

private:
    std::int64_t last_;
    std::string text_;
};

int run() {
    const auto created_at = wm::host::environment_variable(L"WM_BENCH_CREATED_AT");
    if (!created_at) return 2;
    Steps steps(std::stoll(*created_at));
    steps.done("process start: CreateProcessW to the entry (loader, the manifest's activation context)");

    // The shell calls OleInitialize alone; the apartment first shows what OLE adds to it.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 4;
    steps.done("OLE, part 1: the COM apartment (CoInitializeEx; under Wine also the first window work)");
    if (FAILED(OleInitialize(nullptr))) return 4;
    steps.done("OLE, part 2: OLE on that apartment (OleInitialize)");
    auto runtime = wm::host::find_runtime();
    if (!runtime) return 3;
    steps.done("finding the runtime");
    wm::set_process_identity();
    steps.done("process identity");
    const auto loop = wm::host::EventLoop::create();
    if (!loop) return 5;
    const auto placement = wm::load_window_placement();
    const bool always_on_top = wm::load_always_on_top();
    const std::string icon_variant = wm::load_icon_variant();
    steps.done("event loop, state files");
    const bool autostart = wm::read_autostart();
    steps.done("start at sign-in: the Run value read");
    const std::string init_script = wm::build_init_script(always_on_top, icon_variant, autostart);

    // The loader builds the process's context before the entry; building one more from the same
    // manifest shows what that part of the process start costs.
    {
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        request.hModule = GetModuleHandleW(nullptr);
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        const HANDLE context = CreateActCtxW(&request);
        if (context == INVALID_HANDLE_VALUE) return 6;
        ReleaseActCtx(context);
    }
    steps.done("(not a step of the shell) the manifest's activation context built once more");

    std::wstring error;
    auto window =
        wm::host::FramelessWindow::create(*loop, std::wstring(wm::kProductNameW),
                                          placement ? std::optional(placement->normal) : std::nullopt,
                                          wm::kDefaultInnerWidth, wm::kDefaultInnerHeight, always_on_top,
                                          placement && placement->maximized, false, wm::host::theme_background(), error);
    if (!window) return 7;
    steps.done("building the window with the web view's host, its one child window");
    wm::host::UniqueIcon icon;
    wm::apply_icon_variant(window->hwnd(), icon_variant, icon);
    steps.done("icon group of the window (loading it, handing it to the window)");
    // The same load once more, without handing the icon over: what decoding the frames costs.
    wm::host::UniqueIcon again(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(*wm::icon_resource_id(icon_variant)),
                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (!again) return 11;
    steps.done("(not a step of the shell) the same icon group loaded once more, alone");
    if (!LoadLibraryW((runtime->folder + L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll").c_str())) return 8;
    steps.done("loading the runtime DLL");
    wm::host::WebViewEnvironment environment([] { return false; }, std::move(*runtime));
    if (FAILED(environment.ensure(*loop))) return 9;
    steps.done("web view environment, completed through the loop");
    auto view = wm::host::WebView2View::create(
        *loop, environment, *window, {wm::bridge_script(), wm::badge_script(), init_script}, std::string(wm::kOriginRoot),
        {
            .is_app_page = [](std::string_view) { return true; },
            .page_message = [](std::string, std::string) {},
            .new_window_requested = [](const wm::host::NewWindowRequest&) {},
            .permission_requested = [](COREWEBVIEW2_PERMISSION_KIND, const std::string&)
                -> std::optional<COREWEBVIEW2_PERMISSION_STATE> { return std::nullopt; },
            .download_starting = [](const std::string&, const std::string&,
                                    std::wstring proposed) -> wm::DownloadRoute {
                return {wm::DownloadRoute::Kind::silent, std::move(proposed)};
            },
            .download_followed = [](wm::host::ComPtr<ICoreWebView2DownloadOperation>, wm::host::FinishedDownload) {},
            .source_changed = [](const std::string&) {},
            .new_document = [] {},
            .zoom_changed = [](double) {},
            .background_read = [](std::u16string_view) {},
            .document_loaded = [](const wm::LoadResult&) { return wm::AfterLoad::done; },
            .failure_replaced = [] {},
        },
        {}, error);
    if (!view) return 10;
    steps.done("web view: controller, handlers, scripts, Navigate");
    wm::clean_update_files();
    steps.done("(after the first Navigate, from the loop) update files left by an earlier run");
    wm::remove_leftover_files();
    steps.done("(after the first Navigate) temporary files left by ended processes");
    (void)wm::refresh_autostart();
    steps.done("(after the first Navigate) the Run value rewritten when it names another path");
    const auto icon_file = wm::write_app_icon_file();
    steps.done("(after the first Navigate) moth.png");
    wm::register_app_identity(icon_file);
    steps.done("(after the first Navigate) identity in the registry");
    window->show_strip("id.example.org");
    steps.done(
        "(later, when a page first leaves the origin) the strip's three controls made and shown, the page moved");
    window->set_snap_area(wm::CssRect{1100, 0, 40, 32});
    steps.done("(later, at the page's first rectangle) the snap window made and placed");
    {
        const wm::ToastActivator activator([](std::string) {});
        steps.done(
            "(before the window in a start for a click, else at the first notification) the notification "
            "activator registered with COM");
    }
    steps.done("(at the end of such a process) the notification activator revoked");
    steps.write();
    view.reset();
    window.reset();
    OleUninitialize();
    CoUninitialize();
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return run();
}
