#pragma once
// The objects behind the settings, the default context menu and a finished navigation.

#include <string>
#include <vector>

#include "com_support.h"
#include "log.h"

namespace standin {

// Every settings interface up to the sixth: only swipe navigation is recorded.
class Settings final : public ComObject<ICoreWebView2Settings6> {
public:
    explicit Settings(Reporter reporter) : reporter_(std::move(reporter)) {}
    HRESULT STDMETHODCALLTYPE put_IsSwipeNavigationEnabled(BOOL value) noexcept override {
        reporter_.write("swipe_navigation", value ? "1" : "0");
        return S_OK;
    }
    STANDIN_UNUSED(get_IsScriptEnabled, BOOL*)
    STANDIN_UNUSED(put_IsScriptEnabled, BOOL)
    STANDIN_UNUSED(get_IsWebMessageEnabled, BOOL*)
    STANDIN_UNUSED(put_IsWebMessageEnabled, BOOL)
    STANDIN_UNUSED(get_AreDefaultScriptDialogsEnabled, BOOL*)
    STANDIN_UNUSED(put_AreDefaultScriptDialogsEnabled, BOOL)
    STANDIN_UNUSED(get_IsStatusBarEnabled, BOOL*)
    STANDIN_UNUSED(put_IsStatusBarEnabled, BOOL)
    STANDIN_UNUSED(get_AreDevToolsEnabled, BOOL*)
    STANDIN_UNUSED(put_AreDevToolsEnabled, BOOL)
    STANDIN_UNUSED(get_AreDefaultContextMenusEnabled, BOOL*)
    STANDIN_UNUSED(put_AreDefaultContextMenusEnabled, BOOL)
    STANDIN_UNUSED(get_AreHostObjectsAllowed, BOOL*)
    STANDIN_UNUSED(put_AreHostObjectsAllowed, BOOL)
    STANDIN_UNUSED(get_IsZoomControlEnabled, BOOL*)
    STANDIN_UNUSED(put_IsZoomControlEnabled, BOOL)
    STANDIN_UNUSED(get_IsBuiltInErrorPageEnabled, BOOL*)
    STANDIN_UNUSED(put_IsBuiltInErrorPageEnabled, BOOL)
    STANDIN_UNUSED(get_UserAgent, LPWSTR*)
    STANDIN_UNUSED(put_UserAgent, LPCWSTR)
    STANDIN_UNUSED(get_AreBrowserAcceleratorKeysEnabled, BOOL*)
    STANDIN_UNUSED(put_AreBrowserAcceleratorKeysEnabled, BOOL)
    STANDIN_UNUSED(get_IsPasswordAutosaveEnabled, BOOL*)
    STANDIN_UNUSED(put_IsPasswordAutosaveEnabled, BOOL)
    STANDIN_UNUSED(get_IsGeneralAutofillEnabled, BOOL*)
    STANDIN_UNUSED(put_IsGeneralAutofillEnabled, BOOL)
    STANDIN_UNUSED(get_IsPinchZoomEnabled, BOOL*)
    STANDIN_UNUSED(put_IsPinchZoomEnabled, BOOL)
    STANDIN_UNUSED(get_IsSwipeNavigationEnabled, BOOL*)

private:
    Reporter reporter_;
};

// One default item, known by its name; "-" is a separator.
class MenuItem final : public ComObject<ICoreWebView2ContextMenuItem> {
public:
    MenuItem(std::wstring name, Reporter reporter) : name_(std::move(name)), reporter_(std::move(reporter)) {}
    const std::wstring& name() const noexcept { return name_; }
    HRESULT STDMETHODCALLTYPE get_Name(LPWSTR* value) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND* value) noexcept override;
    STANDIN_UNUSED(get_Label, LPWSTR*)
    STANDIN_UNUSED(get_CommandId, INT32*)
    STANDIN_UNUSED(get_ShortcutKeyDescription, LPWSTR*)
    STANDIN_UNUSED(get_Icon, IStream**)
    STANDIN_UNUSED(put_IsEnabled, BOOL)
    STANDIN_UNUSED(get_IsEnabled, BOOL*)
    STANDIN_UNUSED(put_IsChecked, BOOL)
    STANDIN_UNUSED(get_IsChecked, BOOL*)
    STANDIN_UNUSED(get_Children, ICoreWebView2ContextMenuItemCollection**)
    STANDIN_UNUSED(add_CustomItemSelected, ICoreWebView2CustomItemSelectedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_CustomItemSelected, EventRegistrationToken)

private:
    std::wstring name_;
    Reporter reporter_;
};

class MenuItems final : public ComObject<ICoreWebView2ContextMenuItemCollection> {
public:
    explicit MenuItems(Reporter reporter) : reporter_(std::move(reporter)) {}
    std::vector<ComPtr<MenuItem>>& items() noexcept { return items_; }
    HRESULT STDMETHODCALLTYPE get_Count(UINT32* value) noexcept override;
    HRESULT STDMETHODCALLTYPE GetValueAtIndex(UINT32 index, ICoreWebView2ContextMenuItem** value) noexcept override;
    HRESULT STDMETHODCALLTYPE RemoveValueAtIndex(UINT32 index) noexcept override;
    STANDIN_UNUSED(InsertValueAtIndex, UINT32, ICoreWebView2ContextMenuItem*)

private:
    std::vector<ComPtr<MenuItem>> items_;
    Reporter reporter_;
};

class ContextMenuArgs final : public ComObject<ICoreWebView2ContextMenuRequestedEventArgs> {
public:
    ContextMenuArgs(ComPtr<MenuItems> items, Reporter reporter)
        : items_(std::move(items)), reporter_(std::move(reporter)) {}
    HRESULT STDMETHODCALLTYPE get_MenuItems(ICoreWebView2ContextMenuItemCollection** value) noexcept override {
        return hand_out(static_cast<ICoreWebView2ContextMenuItemCollection*>(items_.get()), value);
    }
    STANDIN_UNUSED(get_ContextMenuTarget, ICoreWebView2ContextMenuTarget**)
    STANDIN_UNUSED(get_Location, POINT*)
    STANDIN_UNUSED(put_SelectedCommandId, INT32)
    STANDIN_UNUSED(get_SelectedCommandId, INT32*)
    STANDIN_UNUSED(put_Handled, BOOL)
    STANDIN_UNUSED(get_Handled, BOOL*)
    STANDIN_UNUSED(GetDeferral, ICoreWebView2Deferral**)

private:
    ComPtr<MenuItems> items_;
    Reporter reporter_;
};

}  // namespace standin
