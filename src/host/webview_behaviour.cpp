#include "host/webview_behaviour.h"

#include <string>
#include <vector>

#include "base/context_menu.h"
#include "host/text.h"

namespace wm::host {
namespace {

void trim_menu(ICoreWebView2ContextMenuRequestedEventArgs& args) {
    ComPtr<ICoreWebView2ContextMenuItemCollection> items;
    UINT32 count = 0;
    if (FAILED(args.get_MenuItems(items.put())) || !items || FAILED(items->get_Count(&count))) return;
    std::vector<MenuEntry> entries(count);
    std::vector<std::string> narrow(count);
    for (UINT32 at = 0; at < count; ++at) {
        ComPtr<ICoreWebView2ContextMenuItem> item;
        CoTaskString name;
        COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND kind{};
        // An item that cannot be read stays: it is not known to be the browser's.
        if (FAILED(items->GetValueAtIndex(at, item.put())) || !item) continue;
        if (SUCCEEDED(item->get_Name(name.put())) && name.get()) narrow[at] = to_utf8(name.get());
        entries[at].separator =
            SUCCEEDED(item->get_Kind(&kind)) && kind == COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_SEPARATOR;
        entries[at].name = narrow[at];
    }
    for (const std::size_t at : browser_menu_items(entries)) (void)items->RemoveValueAtIndex(static_cast<UINT32>(at));
}

}  // namespace

HRESULT AppBehaviour::attach(ICoreWebView2& webview) {
    // get_Settings names the settings object by its first interface; it is asked for the sixth.
    ComPtr<IUnknown> settings;
    if (SUCCEEDED(webview.get_Settings(reinterpret_cast<ICoreWebView2Settings**>(settings.put())))) {
        if (const auto settings6 = settings.query<ICoreWebView2Settings6>())
            (void)settings6->put_IsSwipeNavigationEnabled(FALSE);
    }
    webview11_ = ComPtr<ICoreWebView2>(&webview).query<ICoreWebView2_11>();
    if (!webview11_) return S_OK;  // E_NOINTERFACE: the runtime's whole menu stays
    return webview11_->add_ContextMenuRequested(
        make_handler<ICoreWebView2ContextMenuRequestedEventHandler>(
            [](ICoreWebView2*, ICoreWebView2ContextMenuRequestedEventArgs* args) { trim_menu(*args); })
            .get(),
        &menu_token_);
}

void AppBehaviour::detach() noexcept {
    if (webview11_) (void)webview11_->remove_ContextMenuRequested(menu_token_);
    webview11_.reset();
}

}  // namespace wm::host
