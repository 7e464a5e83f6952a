#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace wm {
namespace {

using namespace std::string_literals;

TEST(PageText, DecodesTheRuntimesJsonFormOfAString) {
    struct Case {
        std::u16string json;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {u"\"top:1\"", "top:1"},
        {u"\"\"", ""},
        {u" \"x\"\r\n", "x"},
        {u"\"a\\\"b\\\\c\\/d\\b\\f\\n\\r\\t\"", "a\"b\\c/d\b\f\n\r\t"},
        {u"\"saved:a\\u0000b\"", "saved:a\0b"s},
        {u"\"\\u00e9\\u20AC\"", "\xc3\xa9\xe2\x82\xac"},
        {u"\"caf\u00e9 \U0001F600\"", "caf\xc3\xa9 \xf0\x9f\x98\x80"},
        // A pair written as two escapes, or half escaped, is still one character.
        {u"\"\\ud83d\\ude00\"", "\xf0\x9f\x98\x80"},
        {u"\"\\ud83d\xde00\"", "\xf0\x9f\x98\x80"},
        // Lone surrogates, escaped or raw, become U+FFFD.
        {u"\"a\\ud800b\"", "a\xef\xbf\xbd" "b"},
        {u"\"\\udc00\\ud800\"", "\xef\xbf\xbd\xef\xbf\xbd"},
        {u"\"x\xd800\"", "x\xef\xbf\xbd"},
        // Anything but one string literal is not a page message.
        {u"{\"a\":1}", std::nullopt},
        {u"42", std::nullopt},
        {u"null", std::nullopt},
        {u"\"", std::nullopt},
        {u"", std::nullopt},
        {u"\"a\"\"b\"", std::nullopt},
        {u"\"a\\\"", std::nullopt},
        {u"\"\\x41\"", std::nullopt},
        {u"\"\\u12\"", std::nullopt},
        {u"\"\\u12g4\"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.json.begin(), c.json.end())));
        EXPECT_EQ(decode_json_string(c.json), c.text);
    }
}

}  // namespace
}  // namespace wm
