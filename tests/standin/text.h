#pragma once
// Text conversions and formats of the stand-in: UTF-8 for the log and the control channel,
// UTF-16 for the COM side, CoTaskMemAlloc'd copies for out-parameters.

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

std::string to_utf8(std::wstring_view text);
std::wstring to_utf16(std::string_view text);

// A log field: backslash, line feed, carriage return and tab written as \\, \n, \r and \t, so
// that one record stays on one line and its fields stay apart.
std::string escape_field(std::string_view text);

// The text as a JSON string literal, quotes included.
std::wstring json_string(std::wstring_view text);

// "0x80004005" (or without the 0x prefix) as an HRESULT; nothing for any other text.
std::optional<HRESULT> parse_hresult(std::wstring_view text);

std::optional<int> parse_decimal(std::string_view text);

// A value in lower-case hexadecimal with a 0x prefix: "0x1a2b".
std::string hex(std::uintptr_t value);
// An HRESULT as its 32 bits in hex: "0x80004005".
std::string hresult_text(HRESULT hr);

std::vector<std::string_view> split(std::string_view text, char separator);

// Copies text into a CoTaskMemAlloc'd string for an out-parameter.
HRESULT copy_out(std::wstring_view text, LPWSTR* out) noexcept;

std::optional<std::wstring> environment_variable(const wchar_t* name);

}  // namespace standin
