// The project's toast declarations (src/notify/winrt_toast_win.h) against the documented
// vtable order and interface identifiers. The stand-in classes share the header, so only this
// test would notice a method out of place before a real machine did.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "notify/winrt_toast_win.h"
#include "vtable_slot.h"

namespace {

std::string iid_text(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                  g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

TEST(WinrtToastDeclarations, EveryMethodInItsDocumentedSlot) {
    struct Case {
        const char* method;
        long declared;
        long documented;
    };
    const Case cases[] = {
        {"IInspectable::GetIids", slot_of(&IToastNotifier::GetIids), 3},
        {"IInspectable::GetRuntimeClassName", slot_of(&IToastNotifier::GetRuntimeClassName), 4},
        {"IInspectable::GetTrustLevel", slot_of(&IToastNotifier::GetTrustLevel), 5},
        {"IToastNotificationManagerStatics::CreateToastNotifier",
         slot_of(&IToastNotificationManagerStatics::CreateToastNotifier), 6},
        {"IToastNotificationManagerStatics::CreateToastNotifierWithId",
         slot_of(&IToastNotificationManagerStatics::CreateToastNotifierWithId), 7},
        {"IToastNotificationManagerStatics::GetTemplateContent",
         slot_of(&IToastNotificationManagerStatics::GetTemplateContent), 8},
        {"IToastNotifier::Show", slot_of(&IToastNotifier::Show), 6},
        {"IToastNotifier::Hide", slot_of(&IToastNotifier::Hide), 7},
        {"IToastNotifier::get_Setting", slot_of(&IToastNotifier::get_Setting), 8},
        {"IToastNotifier::AddToSchedule", slot_of(&IToastNotifier::AddToSchedule), 9},
        {"IToastNotifier::RemoveFromSchedule", slot_of(&IToastNotifier::RemoveFromSchedule), 10},
        {"IToastNotifier::GetScheduledToastNotifications", slot_of(&IToastNotifier::GetScheduledToastNotifications),
         11},
        {"IToastNotificationFactory::CreateToastNotification",
         slot_of(&IToastNotificationFactory::CreateToastNotification), 6},
        {"IXmlDocumentIO::LoadXml", slot_of(&IXmlDocumentIO::LoadXml), 6},
        {"IXmlDocumentIO::LoadXmlWithSettings", slot_of(&IXmlDocumentIO::LoadXmlWithSettings), 7},
        {"IXmlDocumentIO::SaveToFileAsync", slot_of(&IXmlDocumentIO::SaveToFileAsync), 8},
        {"IActivationFactory::ActivateInstance", slot_of(&IActivationFactory::ActivateInstance), 6},
        {"INotificationActivationCallback::Activate", slot_of(&INotificationActivationCallback::Activate), 3},
    };
    for (const Case& c : cases) EXPECT_EQ(c.declared, c.documented) << c.method;
}

TEST(WinrtToastDeclarations, EveryInterfaceHasItsDocumentedIid) {
    using wm::host::iid_of;
    struct Case {
        const char* interface_name;
        std::string declared;
        const char* documented;
    };
    const Case cases[] = {
        {"IInspectable", iid_text(iid_of<IInspectable>), "AF86E2E0-B12D-4C6A-9C5A-D7AA65101E90"},
        {"IActivationFactory", iid_text(iid_of<IActivationFactory>), "00000035-0000-0000-C000-000000000046"},
        {"IToastNotificationManagerStatics", iid_text(iid_of<IToastNotificationManagerStatics>),
         "50AC103F-D235-4598-BBEF-98FE4D1A3AD4"},
        {"IToastNotifier", iid_text(iid_of<IToastNotifier>), "75927B93-03F3-41EC-91D3-6E5BAC1B38E7"},
        {"IToastNotificationFactory", iid_text(iid_of<IToastNotificationFactory>),
         "04124B20-82C6-4229-B109-FD9ED4662B53"},
        {"IXmlDocumentIO", iid_text(iid_of<IXmlDocumentIO>), "6CD0E74E-EE65-4489-9EBF-CA43E87BA637"},
        {"IXmlDocument", iid_text(iid_of<IXmlDocument>), "F7F3A506-1E87-42D6-BCFB-B8C809FA5494"},
        {"IToastNotification", iid_text(iid_of<IToastNotification>), "997E2675-059E-4E60-8B06-1760917C8B80"},
        {"INotificationActivationCallback", iid_text(iid_of<INotificationActivationCallback>),
         "53E31837-6600-4A81-9395-75CFFE746F94"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.declared, c.documented) << c.interface_name;
}

}  // namespace
