#include "notify/toast_win.h"

#include <roapi.h>
#include <winstring.h>

#include <optional>
#include <string>

#include "host/system_library.h"
#include "host/text.h"
#include "notify/toast_xml.h"
#include "notify/winrt_toast_win.h"

namespace wm {
namespace {

using host::ComPtr;
using host::iid_of;

// combase's WinRT functions, found at run time so that the executable imports only what every
// Windows version has.
struct Combase {
    decltype(&RoGetActivationFactory) get_activation_factory = nullptr;
    decltype(&WindowsCreateString) create_string = nullptr;
    decltype(&WindowsDeleteString) delete_string = nullptr;
};

std::optional<Combase> load_combase() noexcept {
    // It stays loaded: the objects kept across toasts come from it.
    Combase combase{
        host::system_function<decltype(Combase::get_activation_factory)>(L"combase.dll", "RoGetActivationFactory"),
        host::system_function<decltype(Combase::create_string)>(L"combase.dll", "WindowsCreateString"),
        host::system_function<decltype(Combase::delete_string)>(L"combase.dll", "WindowsDeleteString"),
    };
    if (!combase.get_activation_factory || !combase.create_string || !combase.delete_string) return std::nullopt;
    return combase;
}

// An HSTRING of our own. A null HSTRING is the empty string, so failure is a missing object.
class Hstring {
public:
    static std::optional<Hstring> create(const Combase& combase, std::wstring_view text) noexcept {
        HSTRING string = nullptr;
        if (FAILED(combase.create_string(text.data(), static_cast<UINT32>(text.size()), &string))) return std::nullopt;
        return Hstring(combase, string);
    }
    Hstring(Hstring&& other) noexcept : combase_(other.combase_), string_(std::exchange(other.string_, nullptr)) {}
    Hstring(const Hstring&) = delete;
    Hstring& operator=(const Hstring&) = delete;
    Hstring& operator=(Hstring&&) = delete;
    ~Hstring() {
        if (string_) (void)combase_.delete_string(string_);  // only fails for a handle not ours
    }
    HSTRING get() const noexcept { return string_; }

private:
    Hstring(const Combase& combase, HSTRING string) noexcept : combase_(combase), string_(string) {}

    const Combase& combase_;
    HSTRING string_;
};

template <class Interface>
HRESULT activation_factory(const Combase& combase, const wchar_t* class_name, ComPtr<Interface>& factory) {
    const auto name = Hstring::create(combase, class_name);
    if (!name) return E_OUTOFMEMORY;
    const HRESULT hr =
        combase.get_activation_factory(name->get(), iid_of<Interface>, reinterpret_cast<void**>(factory.put()));
    if (SUCCEEDED(hr) && !factory) return E_POINTER;
    return hr;
}

}  // namespace

// The XML document factory, the toast factory and the notifier for the identity: reused by
// every toast, so that a later toast costs one document and one toast object. The manager's
// statics are needed only to make the notifier and are released after it.
struct ToastClasses {
    Combase combase;
    ComPtr<IActivationFactory> xml_documents;
    ComPtr<IToastNotificationFactory> toasts;
    ComPtr<IToastNotifier> notifier;
};

Toasts::Toasts() = default;
Toasts::~Toasts() = default;

namespace {

// Every request carries the same identity, so the notifier made for the first one serves all.
std::unique_ptr<ToastClasses> set_up(const Combase& combase, std::string_view identity) {
    auto classes = std::make_unique<ToastClasses>(ToastClasses{combase, nullptr, nullptr, nullptr});
    if (FAILED(activation_factory(classes->combase, host::kXmlDocumentClass, classes->xml_documents)) ||
        FAILED(activation_factory(classes->combase, host::kToastNotificationClass, classes->toasts)))
        return nullptr;
    ComPtr<IToastNotificationManagerStatics> manager;
    if (FAILED(activation_factory(classes->combase, host::kToastNotificationManagerClass, manager))) return nullptr;
    const auto id = Hstring::create(classes->combase, host::to_wide(identity));
    if (!id || FAILED(manager->CreateToastNotifierWithId(id->get(), classes->notifier.put())) || !classes->notifier)
        return nullptr;
    return classes;
}

HRESULT show_toast(const ToastClasses& classes, const std::string& xml) {
    ComPtr<IInspectable> instance;
    HRESULT hr = classes.xml_documents->ActivateInstance(instance.put());
    if (FAILED(hr)) return hr;
    const auto loader = instance.query<IXmlDocumentIO>();
    const auto document = instance.query<IXmlDocument>();
    if (!loader || !document) return E_NOINTERFACE;
    const auto content = Hstring::create(classes.combase, host::to_wide(xml));
    if (!content) return E_OUTOFMEMORY;
    if (FAILED(hr = loader->LoadXml(content->get()))) return hr;
    ComPtr<IToastNotification> toast;
    if (FAILED(hr = classes.toasts->CreateToastNotification(document.get(), toast.put()))) return hr;
    if (!toast) return E_POINTER;
    return classes.notifier->Show(toast.get());
}

}  // namespace

// A set-up that fails (no such class: stock Wine, or Windows without the notification
// platform) keeps nothing and is tried again by the next toast. That costs a few registry
// look-ups in combase per toast, and a notification is a rare, page-driven event; a class that
// appears later (a repaired registration) is then picked up without a restart.
void Toasts::show(const NotificationRequest& request) {
    if (winrt_missing_) return;
    if (!classes_) {
        const auto combase = load_combase();
        if (!combase) {
            winrt_missing_ = true;
            return;
        }
        classes_ = set_up(*combase, request.application_identity);
        if (!classes_) return;
    }
    (void)show_toast(*classes_, build_toast_xml(request));  // the outcome is not the page's concern
}

}  // namespace wm
