#include "host/text.h"

#include <cstdint>

namespace wm::host {

std::wstring to_wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), length);
    return result;
}

std::string to_utf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    // Without WC_ERR_INVALID_CHARS, lone surrogates are replaced by U+FFFD.
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

std::wstring describe_hresult(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    std::wstring code = L"0x00000000";
    auto value = static_cast<std::uint32_t>(hr);
    for (auto digit = code.rbegin(); value != 0; value >>= 4) *digit++ = L"0123456789ABCDEF"[value & 0xF];
    return text.empty() ? std::wstring(L"error ") + code : text + L" (" + code + L")";
}

std::wstring describe_last_error(DWORD error) { return describe_hresult(HRESULT_FROM_WIN32(error)); }

}  // namespace wm::host
