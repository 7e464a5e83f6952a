// The notification split and the toast content built from any argument: the content must be
// well-formed XML with the fixed template around two texts, and for valid UTF-8 each text must
// read back as the page's text with only the characters XML cannot carry replaced by U+FFFD.
// The content is read with the tests' own strict XML reader.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../support/toast_template.h"
#include "../support/xml_reader.h"
#include "notify/notification.h"
#include "notify/toast_xml.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// What the text must read back as, when the page's text is valid UTF-8.
std::optional<std::string> expected_text(std::string_view text) {
    const auto decoded = xml_reader::detail::decode(text);
    if (!decoded) return std::nullopt;
    std::string expected;
    for (const char32_t c : *decoded)
        xml_reader::detail::append_utf8(expected, xml_reader::detail::is_char(c) ? c : U'\uFFFD');
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view argument(reinterpret_cast<const char*>(data), size);
    const wm::NotificationRequest request = wm::split_notification(argument);
    check(request.title.find('\n') == std::string::npos);
    check(argument == request.title || argument == request.title + "\n" + request.body);

    const auto nodes = xml_reader::read(wm::build_toast_xml(request));
    check(nodes.has_value());
    check(xml_reader::markup(*nodes) == xml_reader::kToastTemplate);
    const auto texts = xml_reader::texts_of(*nodes, "text");
    check(texts.size() == 2);
    if (const auto title = expected_text(request.title)) check(texts[0] == *title);
    if (const auto body = expected_text(request.body)) check(texts[1] == *body);
    return 0;
}
