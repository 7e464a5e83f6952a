#pragma once
// The toast's content in the generic template Windows 10 and later accept.

#include <string>
#include <string_view>

#include "notify/notification.h"

namespace wm {

// <toast launch=… duration=…><visual><binding template="ToastGeneric"><text>title</text><text>body</text>
// </binding></visual><audio …/></toast>, with the texts made safe for XML by escape_toast_text. The
// launch attribute, which Windows hands to the activator on a click, is there only for a tag.
std::string build_toast_xml(const NotificationRequest& request);

// Text that reads back as itself from XML content: the five special characters as entities and
// carriage returns as a character reference (a parser turns a raw one into a line feed). What
// XML 1.0 cannot carry at all (control characters other than tab, line feed and carriage return,
// U+FFFE, U+FFFF, and bytes that are not UTF-8, such as encoded lone surrogates) becomes
// U+FFFD, one per maximal invalid sequence, so that the whole toast still loads.
std::string escape_toast_text(std::string_view utf8);

}  // namespace wm
