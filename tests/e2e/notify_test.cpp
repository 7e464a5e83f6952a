// Desktop notifications run for real against the stand-in WinRT toast classes: what the shell
// asks the notification classes for, what the page hears, which objects outlive a toast, what a
// click on a toast brings forward, when the shell registers to hear clicks, and the shell without
// any toast classes at all (stock Wine).

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../support/toast_template.h"
#include "../support/xml_reader.h"
#include "base/product.h"
#include "driver/page_case.h"
#include "driver/registry.h"
#include "driver/standin.h"
#include "driver/text.h"
#include "driver/toasts.h"

namespace e2e {
namespace {

const std::string kIdentity(wm::kAppIdentity);

// What the shell keeps for later toasts; every other object goes with its toast.
const std::vector<std::string> kReused = {
    "Windows.Data.Xml.Dom.XmlDocument.factory",
    "Windows.UI.Notifications.ToastNotification.factory",
    "ToastNotifier#1",
};

class ToastCase : public PageCase {
protected:
    // Starts the shell with its page ready, with or without the stand-in toast classes.
    void open_with(bool classes, std::wstring arguments = {}) {
        classes_.emplace(classes);
        toast_log_ = StandinLog(folder() / L"toast.log");
        std::filesystem::remove(toast_log_.path());
        open(Launch{.variables = {{L"TOAST_STANDIN_LOG", toast_log_.path().native()}},
                    .arguments = std::move(arguments)});
    }

    const StandinLog& toast_log() const { return toast_log_; }

private:
    std::optional<ToastClasses> classes_;
    StandinLog toast_log_{std::filesystem::path()};
};

struct ToastRow {
    const char* name;
    std::string message;
    std::string title;
    std::string body;
};

class ToastContent : public ToastCase, public testing::WithParamInterface<ToastRow> {};

TEST_P(ToastContent, OneSilentShortToastForTheIdentityCarryingTheTexts) {
    ASSERT_NO_FATAL_FAILURE(open_with(true));
    post(GetParam().message);
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));

    const auto entries = toast_log().entries();
    const auto toasts = shown_toasts(entries);
    ASSERT_EQ(toasts.size(), 1u) << toast_log().text();
    EXPECT_EQ(toasts[0].identity, kIdentity);
    const auto nodes = xml_reader::read(toasts[0].xml);
    ASSERT_TRUE(nodes) << toasts[0].xml;
    EXPECT_EQ(xml_reader::markup(*nodes), xml_reader::kToastTemplate) << toasts[0].xml;
    EXPECT_EQ(xml_reader::texts_of(*nodes, "text"), (std::vector<std::string>{GetParam().title, GetParam().body}))
        << toasts[0].xml;

    EXPECT_EQ(scripts(), std::vector<std::string>{"shellSaved('after')"}) << "the page heard of the toast";
    EXPECT_EQ(live_objects(entries), kReused) << toast_log().text();
}

const ToastRow kToastRows[] = {
    {"title_and_body", "notify:Hello\nworld", "Hello", "world"},
    {"empty", "notify:", "", ""},
    {"split_at_the_first_line_feed", "notify:a\nb\nc", "a", "b\nc"},
    {"markup_shows_literally", "notify:<b>&\"'\n</text>&amp;]]>", "<b>&\"'", "</text>&amp;]]>"},
    {"carriage_return_kept", "notify:title\r\nbody", "title\r", "body"},
    {"control_characters_replaced", "notify:bell\x07!\ntab\tnul\x01", "bell\uFFFD!", "tab\tnul\uFFFD"},
    {"beyond_ascii", "notify:caf\xC3\xA9\n\xF0\x9F\xA6\x8B", "caf\xC3\xA9", "\xF0\x9F\xA6\x8B"},
};

INSTANTIATE_TEST_SUITE_P(Messages, ToastContent, testing::ValuesIn(kToastRows),
                         [](const auto& info) { return std::string(info.param.name); });

using ToastReuse = ToastCase;

TEST_F(ToastReuse, LaterToastsMakeOnlyTheirOwnDocumentAndToast) {
    ASSERT_NO_FATAL_FAILURE(open_with(true));
    for (const char* message : {"notify:first", "notify:second", "notify:third"}) post(message);
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));

    const auto entries = toast_log().entries();
    ASSERT_EQ(shown_toasts(entries).size(), 3u) << toast_log().text();
    EXPECT_EQ(payloads(entries, "get_activation_factory").size(), 3u) << toast_log().text();
    EXPECT_EQ(payloads(entries, "create_notifier"), std::vector<std::string>{kIdentity});
    std::vector<std::string> made_later;
    for (std::size_t i = first_index(entries, "show"); i < entries.size(); ++i)
        if (entries[i].event == "created") made_later.push_back(entries[i].payload);
    EXPECT_EQ(made_later, (std::vector<std::string>{"XmlDocument#2", "ToastNotification#2", "XmlDocument#3",
                                                    "ToastNotification#3"}));
    EXPECT_EQ(live_objects(entries), kReused) << toast_log().text();
}

class ToastClick : public ToastCase {
protected:
    // Shows a toast from the main window's page.
    void open_and_notify() {
        ASSERT_NO_FATAL_FAILURE(open_with(true));
        post("notify:New message");
        ASSERT_NO_FATAL_FAILURE(handled_through("shown"));
        ASSERT_EQ(shown_toasts(toast_log().entries()).size(), 1u) << toast_log().text();
    }

    static void minimize(HWND window) {
        ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsIconic(window) != FALSE; }));
    }

    static testing::AssertionResult comes_forward(HWND window) {
        if (poll_until(kEffectTimeout, [&] { return !IsIconic(window) && GetForegroundWindow() == window; }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "minimised " << IsIconic(window) << ", foreground "
                                           << GetForegroundWindow() << " instead of " << window;
    }
};

TEST_F(ToastClick, RestoresTheMinimisedMainWindowInFrontAndTellsThePageNothing) {
    ASSERT_NO_FATAL_FAILURE(open_and_notify());
    ASSERT_NO_FATAL_FAILURE(minimize(window_));

    EXPECT_EQ(click_toast(process_id()), S_OK) << toast_log().text();
    EXPECT_TRUE(comes_forward(window_));
    EXPECT_EQ(payloads(toast_log().entries(), "activate").size(), 1u) << toast_log().text();
    // Every click, not only the first.
    ASSERT_NO_FATAL_FAILURE(minimize(window_));
    EXPECT_EQ(click_toast(process_id()), S_OK) << toast_log().text();
    EXPECT_TRUE(comes_forward(window_));

    ASSERT_NO_FATAL_FAILURE(handled_through("after"));
    EXPECT_EQ(scripts(), (std::vector<std::string>{"shellSaved('shown')", "shellSaved('after')"}));
}

TEST_F(ToastClick, WithTheMainWindowClosedTheEarliestOpenedWindowComesForward) {
    ASSERT_NO_FATAL_FAILURE(open_and_notify());
    HWND earliest = open_window("window:/first");
    ASSERT_NE(earliest, nullptr);
    HWND latest = open_window("window:/second");
    ASSERT_NE(latest, nullptr);
    post("close");
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !IsWindow(window_); }));
    ASSERT_NO_FATAL_FAILURE(minimize(earliest));

    EXPECT_EQ(click_toast(process_id()), S_OK) << toast_log().text();
    EXPECT_TRUE(comes_forward(earliest));
    EXPECT_TRUE(IsWindowVisible(latest));
}

// A tagged toast's click: the tag reaches the application's page once, after the page loaded,
// and never a page of another site.
class TaggedClick : public ToastClick {
protected:
    static constexpr char kTold[] = "shellNotificationClicked('room:7')";

    // The launch attribute of the toast shown.
    std::string show_tagged() {
        post("notify-tag:room:7\nNew message");
        handled_through("shown");
        const auto toasts = shown_toasts(toast_log().entries());
        const auto nodes = toasts.size() == 1 ? xml_reader::read(toasts[0].xml) : std::nullopt;
        return nodes && nodes->at(1).name == "launch" ? nodes->at(1).value : "";
    }

    // The log index of each call of the tag's function in the window, once the page has settled.
    std::vector<std::size_t> told_at(const std::string& marker) {
        std::vector<std::size_t> found;
        if (!settle(window_, marker)) return found;
        const auto entries = standin_log().entries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].event == "execute_script" && entries[i].payload == kTold) found.push_back(i);
        return found;
    }
};

TEST_F(TaggedClick, WithTheShellRunningReachesTheApplicationOnceAndNoOtherSite) {
    ASSERT_NO_FATAL_FAILURE(open_with(true));
    EXPECT_EQ(show_tagged(), "tag=room:7") << toast_log().text();
    ASSERT_NO_FATAL_FAILURE(minimize(window_));
    EXPECT_EQ(click_toast(process_id()), S_OK) << toast_log().text();
    EXPECT_TRUE(comes_forward(window_));
    EXPECT_EQ(told_at("first").size(), 1u) << standin_log().text();

    // Clicked while the window shows another site: told only once the application is back.
    command(StandinCommand::set_source, "https://evil.example/");
    ASSERT_TRUE(standin_log().wait_until([](const auto& e) { return payloads(e, "navigation_completed").size() == 2; }));
    EXPECT_EQ(click_toast(process_id()), S_OK) << toast_log().text();
    const std::size_t away = standin_log().entries().size();
    command(StandinCommand::set_source, "https://wispermoth.app/");
    const auto told = told_at("back");
    ASSERT_EQ(told.size(), 2u) << standin_log().text();
    EXPECT_GT(told[1], away) << standin_log().text();
}

// COM starts the shell for a click on a toast of an earlier run and hands the click over as soon
// as the shell has registered, long before its page loads.
TEST_F(TaggedClick, StartingTheShellReachesItsPageOnceItHasLoaded) {
    ASSERT_NO_FATAL_FAILURE(open_with(true));
    const std::string launch = show_tagged();
    post("close");
    ASSERT_EQ(wait_for_exit(), 0u);

    start({.variables = {{L"STANDIN_HOLD_CONTROLLER", L"1"}}, .arguments = L"-Embedding"});
    window_ = wait_for_shell_window();
    ASSERT_NE(window_, nullptr);
    web_view_ = wait_for_web_view(window_);
    ASSERT_NE(web_view_, nullptr);
    command(StandinCommand::class_object, narrow(wm::kToastActivatorClassW) + "\t" + kIdentity + "\t" + launch);
    ASSERT_TRUE(standin_log().wait_until([](const auto& e) { return payloads(e, "activate") == std::vector<std::string>{"0x0"}; }))
        << standin_log().text();
    command(StandinCommand::release_controller, "");
    ASSERT_TRUE(wait_for_scripts(1)) << standin_log().text();
    const auto told = told_at("loaded");
    ASSERT_EQ(told.size(), 1u) << standin_log().text();
    EXPECT_GT(told[0], first_index(standin_log().entries(), "navigation_completed")) << standin_log().text();
}

struct ActivatorRow {
    const char* name;
    std::wstring arguments;
    bool registered_at_start;
};

class ActivatorTiming : public ToastCase, public testing::WithParamInterface<ActivatorRow> {
protected:
    // Whether the shell's process answers COM's request for the activator's class, as a click
    // asks for it. The class's LocalServer32 entry goes first, so that COM cannot start a shell of
    // its own to answer.
    testing::AssertionResult activator_registered() {
        delete_key_tree(HKEY_CURRENT_USER,
                        L"Software\\Classes\\CLSID\\" + std::wstring(wm::kToastActivatorClassW) + L"\\LocalServer32");
        const auto asked = payloads(standin_log().entries(), "class_object").size();
        command(StandinCommand::class_object, narrow(wm::kToastActivatorClassW));
        const auto entries = standin_log().wait_until(
            [&](const auto& entries) { return payloads(entries, "class_object").size() > asked; });
        if (!entries) return testing::AssertionFailure() << "no answer\n" << standin_log().text();
        const auto answer = last_payload(*entries, "class_object");
        if (answer == "0x0") return testing::AssertionSuccess();
        return testing::AssertionFailure() << "CoGetClassObject: " << answer.value_or("");
    }
};

// Registering costs a start that never notifies; COM waits for it when it started the shell.
TEST_P(ActivatorTiming, AtOnceInAStartForAClickOtherwiseWithTheFirstNotification) {
    ASSERT_NO_FATAL_FAILURE(open_with(true, GetParam().arguments));
    EXPECT_EQ(static_cast<bool>(activator_registered()), GetParam().registered_at_start);
    post("notify:New message");
    ASSERT_NO_FATAL_FAILURE(handled_through("shown"));
    EXPECT_TRUE(activator_registered());
}

INSTANTIATE_TEST_SUITE_P(Starts, ActivatorTiming,
                         testing::Values(ActivatorRow{"Plain", L"", false},
                                         ActivatorRow{"ForAClick", L"-Embedding", true}),
                         [](const auto& info) { return std::string(info.param.name); });

using ToastWithoutClasses = ToastCase;

TEST_F(ToastWithoutClasses, ANotificationChangesNothingElse) {
    ASSERT_NO_FATAL_FAILURE(open_with(false));
    post("notify:Hello\nworld");
    ASSERT_NO_FATAL_FAILURE(handled_through("first"));
    // A later toast tries the classes again and fails the same way.
    post("notify:again");
    post("top:1");
    ASSERT_NO_FATAL_FAILURE(handled_through("second"));

    EXPECT_EQ(scripts(),
              (std::vector<std::string>{"shellSaved('first')", "shellTopState(true)", "shellSaved('second')"}));
    EXPECT_FALSE(wait_for_exit(0ms)) << "the shell ended";
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(toast_log().text(), "") << "a stand-in class was found";
}

}  // namespace
}  // namespace e2e
