#include "update/downloads.h"

#include "base/text_codec.h"
#include "links/origin.h"

namespace wm {
namespace {

// File types that Windows runs, installs or hands to a script host when the file is opened.
constexpr std::wstring_view kCodeTypes[] = {
    L"exe", L"dll",  L"msi", L"msix", L"msixbundle", L"appx", L"appxbundle", L"msp",   L"bat",  L"cmd", L"com",
    L"scr", L"pif",  L"cpl", L"ps1",  L"psm1",       L"vbs",  L"vbe",        L"js",    L"jse",  L"wsf", L"wsh",
    L"hta", L"lnk",  L"jar", L"reg",  L"url",        L"msc",  L"application", L"appref-ms", L"chm", L"inf", L"scf",
};

// The file type of a path's last component: Windows drops trailing dots and spaces from a name.
std::wstring file_type(std::wstring_view path) {
    std::wstring_view name = path.substr(path.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find_last_not_of(L". ") + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring_view::npos) return {};
    std::wstring type(name.substr(dot + 1));
    for (wchar_t& c : type)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return type;
}

bool runs_code(std::wstring_view path) {
    const std::wstring type = file_type(path);
    for (const std::wstring_view code : kCodeTypes)
        if (type == code) return true;
    return false;
}

// A blob's address holds the origin of the document that made it.
bool origin_address(std::string_view address) noexcept {
    constexpr std::string_view blob = "blob:";
    return in_app_origin(address.starts_with(blob) ? address.substr(blob.size()) : address);
}

}  // namespace

bool is_update_url(std::string_view address) noexcept {
    constexpr std::string_view ending = "/download/wispermoth.exe";
    return in_app_origin(address) && address.substr(0, address.find_first_of("?#")).ends_with(ending);
}

DownloadRoute route_download(std::string_view source_page, std::string_view address, std::wstring proposed,
                             const std::optional<UpdatePaths>& paths, SamePath same_path) {
    using enum DownloadRoute::Kind;
    if (!in_app_origin(source_page)) return {cancelled, {}};
    if (paths && is_update_url(address)) return {silent, paths->staged};
    // The update steps trust these names to hold what this process put there.
    if (paths && (same_path(proposed, paths->staged) || same_path(proposed, paths->previous))) return {cancelled, {}};
    const bool code = runs_code(proposed);
    if (origin_address(address) || (address.starts_with("data:") && !code)) return {silent, std::move(proposed)};
    if (code) return {cancelled, {}};
    return {visible, std::move(proposed)};
}

std::optional<DownloadEnd> on_download_completed(std::string_view address,
                                                 const std::optional<std::u16string>& result_path, bool completed) {
    using enum DownloadEnd::Kind;
    if (is_update_url(address)) return DownloadEnd{completed ? update_finished : update_failed, {}};
    if (!completed || !result_path) return std::nullopt;
    const std::u16string_view path(*result_path);
    const auto separator = path.find_last_of(u"\\/");
    const std::u16string_view name = separator == std::u16string_view::npos ? path : path.substr(separator + 1);
    if (name.empty()) return std::nullopt;
    return DownloadEnd{saved, utf16_to_utf8(name)};
}

}  // namespace wm
