#pragma once
// The project's own declarations of the WinRT toast interfaces the shell calls, and of the
// callback it implements for clicks, in vtable order (after IInspectable's six slots, or
// IUnknown's three), with their interface identifiers. mingw does not declare them. A method out
// of place calls the wrong function of the real classes, so tests/host/winrt_toast_slots_test.cpp
// checks every slot. Methods the shell never calls still hold their slot, with opaque parameters.

#include <windows.h>
#include <activation.h>
#include <inspectable.h>

#include "host/com.h"

struct IXmlDocument;
struct IToastNotification;

// Slots 6-11.
struct IToastNotifier : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Show(IToastNotification* notification) = 0;
    virtual HRESULT STDMETHODCALLTYPE Hide(IToastNotification* notification) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Setting(int* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSchedule(void* scheduledToast) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSchedule(void* scheduledToast) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScheduledToastNotifications(void** result) = 0;
};

// Slots 6-8.
struct IToastNotificationManagerStatics : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE CreateToastNotifier(IToastNotifier** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateToastNotifierWithId(HSTRING applicationId, IToastNotifier** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTemplateContent(int type, IXmlDocument** result) = 0;
};

// Slot 6.
struct IToastNotificationFactory : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE CreateToastNotification(IXmlDocument* content, IToastNotification** result) = 0;
};

// Slots 6-8.
struct IXmlDocumentIO : public IInspectable {
    virtual HRESULT STDMETHODCALLTYPE LoadXml(HSTRING xml) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadXmlWithSettings(HSTRING xml, void* loadSettings) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveToFileAsync(void* file, void** operation) = 0;
};

// Passed from the document to the toast only; none of their own methods is called.
struct IXmlDocument : public IInspectable {};
struct IToastNotification : public IInspectable {};

// Not WinRT: the classic COM interface through which Windows reports a click on a toast of an
// unpackaged program, implemented by the shell. `Activate` is slot 3.
struct NOTIFICATION_USER_INPUT_DATA {
    LPCWSTR Key;
    LPCWSTR Value;
};
struct INotificationActivationCallback : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Activate(LPCWSTR appUserModelId, LPCWSTR invokedArgs,
                                               const NOTIFICATION_USER_INPUT_DATA* data, ULONG count) = 0;
};

namespace wm::host {

template <> inline constexpr GUID iid_of<IInspectable> = {0xAF86E2E0, 0xB12D, 0x4C6A, {0x9C, 0x5A, 0xD7, 0xAA, 0x65, 0x10, 0x1E, 0x90}};
template <> inline constexpr GUID iid_of<IActivationFactory> = {0x00000035, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
template <> inline constexpr GUID iid_of<IToastNotificationManagerStatics> = {0x50AC103F, 0xD235, 0x4598, {0xBB, 0xEF, 0x98, 0xFE, 0x4D, 0x1A, 0x3A, 0xD4}};
template <> inline constexpr GUID iid_of<IToastNotifier> = {0x75927B93, 0x03F3, 0x41EC, {0x91, 0xD3, 0x6E, 0x5B, 0xAC, 0x1B, 0x38, 0xE7}};
template <> inline constexpr GUID iid_of<IToastNotificationFactory> = {0x04124B20, 0x82C6, 0x4229, {0xB1, 0x09, 0xFD, 0x9E, 0xD4, 0x66, 0x2B, 0x53}};
template <> inline constexpr GUID iid_of<IXmlDocumentIO> = {0x6CD0E74E, 0xEE65, 0x4489, {0x9E, 0xBF, 0xCA, 0x43, 0xE8, 0x7B, 0xA6, 0x37}};
template <> inline constexpr GUID iid_of<IXmlDocument> = {0xF7F3A506, 0x1E87, 0x42D6, {0xBC, 0xFB, 0xB8, 0xC8, 0x09, 0xFA, 0x54, 0x94}};
template <> inline constexpr GUID iid_of<IToastNotification> = {0x997E2675, 0x059E, 0x4E60, {0x8B, 0x06, 0x17, 0x60, 0x91, 0x7C, 0x8B, 0x80}};
template <> inline constexpr GUID iid_of<INotificationActivationCallback> = {0x53E31837, 0x6600, 0x4A81, {0x93, 0x95, 0x75, 0xCF, 0xFE, 0x74, 0x6F, 0x94}};

inline constexpr wchar_t kToastNotificationManagerClass[] = L"Windows.UI.Notifications.ToastNotificationManager";
inline constexpr wchar_t kToastNotificationClass[] = L"Windows.UI.Notifications.ToastNotification";
inline constexpr wchar_t kXmlDocumentClass[] = L"Windows.Data.Xml.Dom.XmlDocument";

}  // namespace wm::host
