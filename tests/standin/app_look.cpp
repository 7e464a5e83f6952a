#include "app_look.h"

#include "text.h"

namespace standin {

HRESULT STDMETHODCALLTYPE MenuItem::get_Name(LPWSTR* value) noexcept {
    return copy_out(name_, value);
}

HRESULT STDMETHODCALLTYPE MenuItem::get_Kind(COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND* value) noexcept {
    if (!value) return E_POINTER;
    *value =
        name_ == L"-" ? COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_SEPARATOR : COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND_COMMAND;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuItems::get_Count(UINT32* value) noexcept {
    if (!value) return E_POINTER;
    *value = static_cast<UINT32>(items_.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MenuItems::GetValueAtIndex(UINT32 index, ICoreWebView2ContextMenuItem** value) noexcept {
    if (index >= items_.size()) return E_INVALIDARG;
    return hand_out(static_cast<ICoreWebView2ContextMenuItem*>(items_[index].get()), value);
}

HRESULT STDMETHODCALLTYPE MenuItems::RemoveValueAtIndex(UINT32 index) noexcept {
    if (index >= items_.size()) return E_INVALIDARG;
    items_.erase(items_.begin() + index);
    return S_OK;
}

}  // namespace standin
