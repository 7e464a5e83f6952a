#pragma once
// Conversions between the shell's UTF-8 and Windows' UTF-16, and error descriptions.

#include <windows.h>

#include <string>
#include <string_view>

namespace wm::host {

std::wstring to_wide(std::string_view utf8);
// Invalid UTF-16 (lone surrogates) becomes U+FFFD.
std::string to_utf8(std::wstring_view utf16);

// The system's text for an error code, followed by the code in hex.
std::wstring describe_hresult(HRESULT hr);
std::wstring describe_last_error(DWORD error);

}  // namespace wm::host
