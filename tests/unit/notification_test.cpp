// The "notify:" argument split into title and body, and the toast content built from them.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "../support/xml_reader.h"
#include "base/product.h"
#include "notify/notification.h"
#include "notify/pending_click.h"
#include "notify/toast_xml.h"

namespace wm {
namespace {

TEST(Notification, SplitsAtTheFirstLineFeedOnly) {
    struct Case {
        std::string argument;
        std::string title;
        std::string body;
    };
    const Case cases[] = {
        {"", "", ""},
        {"Hello", "Hello", ""},
        {"Hello\nworld", "Hello", "world"},
        {"a\nb\nc", "a", "b\nc"},
        {"\n", "", ""},
        {"\nbody", "", "body"},
        {"title\n", "title", ""},
        {"title\r\nbody", "title\r", "body"},
        {"  spaced \n  out ", "  spaced ", "  out "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("argument: [" + c.argument + "]");
        const NotificationRequest request = split_notification(c.argument);
        EXPECT_EQ(request.title, c.title);
        EXPECT_EQ(request.body, c.body);
    }
}

TEST(Notification, FixedValues) {
    const NotificationRequest request = split_notification("x");
    EXPECT_EQ(request.application_name, kProductName);
    EXPECT_EQ(request.application_identity, kAppIdentity);
    EXPECT_TRUE(request.silent);
    EXPECT_EQ(request.duration, ToastDuration::short_duration);
}

// One row per rule of a tag, with the toast's launch attribute read back through a click.
TEST(Notification, ATagIsShortPlainAndTravelsOnlyAsTheShellWritesIt) {
    struct Case {
        std::string argument;  // after "notify-tag:"
        std::optional<std::string> tag;
    };
    const Case cases[] = {
        {"room:42\nTitle\nBody", "room:42"},
        {"A-z_0.9\n", "A-z_0.9"},
        {std::string(kMaxNotificationTag, 'x') + "\nT", std::string(kMaxNotificationTag, 'x')},
        {std::string(kMaxNotificationTag + 1, 'x') + "\nT", std::nullopt},
        {"\nTitle", std::nullopt},
        {"room 42\nT", std::nullopt},
        {"room'42\nT", std::nullopt},
        {"caf\xC3\xA9\nT", std::nullopt},
        {"room42", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("argument: [" + c.argument + "]");
        const auto request = split_tagged_notification(c.argument);
        ASSERT_EQ(request.has_value(), c.tag.has_value());
        if (!request) continue;
        EXPECT_EQ(request->tag, *c.tag);
        EXPECT_EQ(tag_from_launch(launch_arguments(request->tag)), *c.tag);
    }
    const NotificationRequest request = *split_tagged_notification("t\nTitle\nBody\nmore");
    EXPECT_EQ(request.title, "Title");
    EXPECT_EQ(request.body, "Body\nmore");
    for (const char* foreign : {"", "tag=", "tag=t&x=1", "x tag=t"})
        EXPECT_EQ(tag_from_launch(foreign), "") << foreign;
    EXPECT_EQ(build_toast_xml(request),
              "<toast launch=\"tag=t\" duration=\"short\"><visual><binding template=\"ToastGeneric\"><text>Title"
              "</text><text>Body\nmore</text></binding></visual><audio silent=\"true\"/></toast>");
}

TEST(ToastXml, GenericTemplateSilentAndShort) {
    EXPECT_EQ(build_toast_xml(split_notification("Hello\nworld")),
              "<toast duration=\"short\"><visual><binding template=\"ToastGeneric\"><text>Hello</text>"
              "<text>world</text></binding></visual><audio silent=\"true\"/></toast>");
    EXPECT_EQ(build_toast_xml(split_notification("")),
              "<toast duration=\"short\"><visual><binding template=\"ToastGeneric\"><text></text>"
              "<text></text></binding></visual><audio silent=\"true\"/></toast>");
    NotificationRequest loud{.title = "<t>", .body = "&", .silent = false, .duration = ToastDuration::long_duration};
    EXPECT_EQ(build_toast_xml(loud),
              "<toast duration=\"long\"><visual><binding template=\"ToastGeneric\"><text>&lt;t&gt;</text>"
              "<text>&amp;</text></binding></visual><audio silent=\"false\"/></toast>");
}

TEST(ToastXml, TextIsEscapedAndMended) {
    struct Case {
        const char* label;
        std::string text;
        std::string escaped;
    };
    const Case cases[] = {
        {"plain", "Hello, world", "Hello, world"},
        {"specials", "<b>&\"'", "&lt;b&gt;&amp;&quot;&apos;"},
        {"entity-like text stays text", "&amp;", "&amp;amp;"},
        {"tab and line feed kept", "a\tb\nc", "a\tb\nc"},
        {"carriage return as a reference", "a\r\nb\r", "a&#13;\nb&#13;"},
        {"control characters", std::string{'a', '\x01', 'b', '\x1F', 'c', '\0', 'd'}, "a\uFFFDb\uFFFDc\uFFFDd"},
        {"delete and C1 controls are XML characters", "\x7F\xC2\x85", "\x7F\xC2\x85"},
        {"multi-byte text", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"U+FFFE and U+FFFF are not characters", "\xEF\xBF\xBE\xEF\xBF\xBF", "\uFFFD\uFFFD"},
        {"encoded lone surrogates", "a\xED\xA0\x80z\xED\xBF\xBF", "a\uFFFD\uFFFD\uFFFDz\uFFFD\uFFFD\uFFFD"},
        {"stray continuation byte", "a\x80z", "a\uFFFDz"},
        {"truncated sequence, one replacement", "a\xE2\x82z", "a\uFFFDz"},
        {"truncated at the end", "a\xF0\x9F\x98", "a\uFFFD"},
        {"overlong form", "\xC0\xAF\xE0\x80\xAF", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid bytes", "\xF5\xFF", "\uFFFD\uFFFD"},
        {"highest characters", "\xF4\x8F\xBF\xBF\xEF\xBF\xBD", "\xF4\x8F\xBF\xBF\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(escape_toast_text(c.text), c.escaped);
    }
}

// The fuzzer and the end-to-end cases judge the content with this reader, so it must refuse
// what a real XML parser refuses and read back what one reads back.
TEST(ToastXml, TheTestsReaderFollowsXml) {
    struct Case {
        std::string document;
        std::optional<std::string> text;  // the root's text, or nothing when refused
    };
    const Case cases[] = {
        {"<a>x</a>", "x"},
        {"<a>&lt;&gt;&amp;&quot;&apos;&#65;&#x42;</a>", "<>&\"'AB"},
        {"<a>a\r\nb\rc</a>", "a\nb\nc"},
        {"<a>a&#13;b</a>", "a\rb"},
        {" <a b='1' c=\"2\"/> ", ""},
        {"<a>\x01</a>", std::nullopt},
        {"<a>&#1;</a>", std::nullopt},
        {"<a>&#xD800;</a>", std::nullopt},
        {"<a>\xED\xA0\x80</a>", std::nullopt},
        {"<a>\xC0\xAF</a>", std::nullopt},
        {"<a>\xEF\xBF\xBE</a>", std::nullopt},
        {"<a>&</a>", std::nullopt},
        {"<a>&nbsp;</a>", std::nullopt},
        {"<a><</a>", std::nullopt},
        {"<a>]]></a>", std::nullopt},
        {"<a></b>", std::nullopt},
        {"<a b='1' b='2'/>", std::nullopt},
        {"<a b='<'/>", std::nullopt},
        {"<a/><a/>", std::nullopt},
        {"<a>", std::nullopt},
        {"<?xml version='1.0'?><a/>", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("document: [" + c.document + "]");
        const auto nodes = xml_reader::read(c.document);
        ASSERT_EQ(nodes.has_value(), c.text.has_value());
        if (nodes) EXPECT_EQ(xml_reader::texts_of(*nodes, "a"), std::vector<std::string>{*c.text});
    }
}

// "c" a call of the activator, "h" the loop handling the click it posted.
TEST(PendingClick, AtMostOneClickWaitsInTheLoop) {
    struct Case {
        std::string steps;
        int posted;
    };
    const Case cases[] = {
        {"c", 1},
        {"ccccc", 1},  // a process calling in a loop
        {"chc", 2},
        {"chchccch", 3},
        {"h", 0},  // nothing waits: nothing to let go of
        {"hc", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        PendingClick pending;
        int posted = 0;
        for (const char step : c.steps) {
            if (step == 'h') pending.handled();
            else if (pending.admit()) ++posted;
        }
        EXPECT_EQ(posted, c.posted);
    }
}

}  // namespace
}  // namespace wm
