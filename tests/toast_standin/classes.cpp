#include "classes.h"

#include <winstring.h>

#include <optional>

#include "../standin/text.h"
#include "../support/xml_reader.h"
#include "click.h"

namespace toast_standin {
namespace {

// What a real document answers for text that is not well-formed XML.
constexpr HRESULT kNotWellFormed = static_cast<HRESULT>(0xC00CE508);

// The HSTRING's UTF-16 as UTF-8; nothing for lone surrogates, which XML cannot hold either.
std::optional<std::string> strict_utf8(HSTRING string) {
    UINT32 length = 0;
    const wchar_t* text = WindowsGetStringRawBuffer(string, &length);
    if (length == 0) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, static_cast<int>(length), result.data(), size, nullptr,
                        nullptr);
    return result;
}

class XmlDocument final : public Inspectable<IXmlDocument, IXmlDocumentIO> {
public:
    using Inspectable::Inspectable;

    // Keeps the text only when it is well-formed, judged by the tests' strict reader.
    HRESULT STDMETHODCALLTYPE LoadXml(HSTRING xml) noexcept override {
        const auto text = strict_utf8(xml);
        reporter_.write("load_xml", text ? *text : std::string("(invalid UTF-16)"));
        if (!text || !xml_reader::read(*text)) {
            reporter_.write("load_failed", name());
            return kNotWellFormed;
        }
        loaded_ = *text;
        return S_OK;
    }
    STANDIN_UNUSED(LoadXmlWithSettings, HSTRING, void*)
    STANDIN_UNUSED(SaveToFileAsync, void*, void**)

    const std::optional<std::string>& loaded() const { return loaded_; }

private:
    std::optional<std::string> loaded_;
};

// Holds its content, as the real toast does.
class ToastNotification final : public Inspectable<IToastNotification> {
public:
    ToastNotification(Recorder reporter, std::string name, ComPtr<IXmlDocument> content, std::string xml)
        : Inspectable(std::move(reporter), std::move(name)), content_(std::move(content)), xml_(std::move(xml)) {}
    const std::string& xml() const { return xml_; }

private:
    ComPtr<IXmlDocument> content_;
    std::string xml_;
};

// Records each toast shown; keeps no reference to it afterwards. A click reaches the identity's
// activator on the thread that made the notifier.
class ToastNotifier final : public Inspectable<IToastNotifier> {
public:
    ToastNotifier(Recorder reporter, std::string name, std::string id)
        : Inspectable(std::move(reporter), std::move(name)), id_(std::move(id)), click_target_(reporter_, id_) {}

    HRESULT STDMETHODCALLTYPE Show(IToastNotification* notification) noexcept override {
        const auto* toast = dynamic_cast<ToastNotification*>(notification);
        if (!toast) return E_INVALIDARG;
        reporter_.write("show", id_ + "\t" + toast->xml());
        click_target_.shown(toast->xml());
        return S_OK;
    }
    STANDIN_UNUSED(Hide, IToastNotification*)
    STANDIN_UNUSED(get_Setting, int*)
    STANDIN_UNUSED(AddToSchedule, void*)
    STANDIN_UNUSED(RemoveFromSchedule, void*)
    STANDIN_UNUSED(GetScheduledToastNotifications, void**)

private:
    std::string id_;
    ClickTarget click_target_;
};

class XmlDocumentFactory final : public Inspectable<IActivationFactory> {
public:
    using Inspectable::Inspectable;
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) noexcept override {
        const auto document = standin::make_object<XmlDocument>(reporter_, "XmlDocument#" + std::to_string(++made_));
        return standin::hand_out<IInspectable>(static_cast<IXmlDocument*>(document.get()), instance);
    }

private:
    int made_ = 0;
};

class ToastNotificationFactory final : public Inspectable<IActivationFactory, IToastNotificationFactory> {
public:
    using Inspectable::Inspectable;
    STANDIN_UNUSED(ActivateInstance, IInspectable**)
    HRESULT STDMETHODCALLTYPE CreateToastNotification(IXmlDocument* content,
                                                      IToastNotification** result) noexcept override {
        const auto* document = dynamic_cast<XmlDocument*>(content);
        if (!document || !document->loaded()) {
            reporter_.write("create_toast_failed", document ? "content not loaded" : "not a stand-in document");
            return E_INVALIDARG;
        }
        const auto toast =
            standin::make_object<ToastNotification>(reporter_, "ToastNotification#" + std::to_string(++made_),
                                                    ComPtr<IXmlDocument>(content), *document->loaded());
        return standin::hand_out<IToastNotification>(toast.get(), result);
    }

private:
    int made_ = 0;
};

class ToastNotificationManagerStatics final : public Inspectable<IActivationFactory, IToastNotificationManagerStatics> {
public:
    using Inspectable::Inspectable;
    STANDIN_UNUSED(ActivateInstance, IInspectable**)
    STANDIN_UNUSED(CreateToastNotifier, IToastNotifier**)
    HRESULT STDMETHODCALLTYPE CreateToastNotifierWithId(HSTRING id, IToastNotifier** result) noexcept override {
        const auto text = strict_utf8(id);
        reporter_.write("create_notifier", text ? *text : std::string("(invalid UTF-16)"));
        if (!text) return E_INVALIDARG;
        const auto notifier =
            standin::make_object<ToastNotifier>(reporter_, "ToastNotifier#" + std::to_string(++made_), *text);
        return standin::hand_out<IToastNotifier>(notifier.get(), result);
    }
    STANDIN_UNUSED(GetTemplateContent, int, IXmlDocument**)

private:
    int made_ = 0;
};

}  // namespace

void Recorder::write(std::string_view event, std::string_view payload) const {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    const auto microseconds =
        static_cast<long long>(static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart));
    log_->write(std::to_string(microseconds), event, payload);
}

HRESULT Recorder::unimplemented(std::string_view method) const {
    write("unimplemented", method);
    return E_NOTIMPL;
}

ComPtr<IActivationFactory> activation_factory(const std::wstring& class_name, Recorder reporter) {
    ComPtr<IActivationFactory> factory;
    const std::string name = standin::to_utf8(class_name) + ".factory";
    if (class_name == wm::host::kXmlDocumentClass) {
        factory = ComPtr<IActivationFactory>(standin::make_object<XmlDocumentFactory>(reporter, name).get());
    } else if (class_name == wm::host::kToastNotificationClass) {
        factory = ComPtr<IActivationFactory>(standin::make_object<ToastNotificationFactory>(reporter, name).get());
    } else if (class_name == wm::host::kToastNotificationManagerClass) {
        factory =
            ComPtr<IActivationFactory>(standin::make_object<ToastNotificationManagerStatics>(reporter, name).get());
    }
    return factory;
}

}  // namespace toast_standin
