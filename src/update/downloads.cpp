#include "update/downloads.h"

#include <algorithm>
#include <span>

#include "base/text_codec.h"
#include "links/origin.h"

namespace wm {
namespace {

// File types that Windows runs, installs, mounts or hands to a script host, a shell extension or
// a certificate store when the file is opened.
constexpr std::wstring_view kCodeTypes[] = {
    L"exe", L"dll", L"msi", L"msix", L"msixbundle", L"appx", L"appxbundle", L"msp", L"msu", L"cab", L"bat", L"cmd",
    L"com", L"scr", L"pif", L"cpl", L"ocx", L"sys", L"ps1", L"psm1", L"psd1", L"ps1xml", L"vbs", L"vbe", L"js",
    L"jse", L"wsf", L"wsh", L"wsc", L"sct", L"hta", L"lnk", L"jar", L"reg", L"url", L"website", L"msc",
    L"application", L"appref-ms", L"xbap", L"appinstaller", L"chm", L"hlp", L"inf", L"scf", L"xll", L"gadget",
    L"rdp", L"library-ms", L"settingcontent-ms", L"search-ms", L"searchconnector-ms", L"diagcab", L"mht", L"mhtml",
    L"cer", L"crt", L"der", L"iso", L"img", L"vhd", L"vhdx",
};

// The only file types written without the runtime's own download interface: what opens in a
// viewer and cannot run, install or mount anything. A type missing here is merely shown to the
// user first.
constexpr std::wstring_view kInertTypes[] = {
    L"png",  L"jpg", L"jpeg", L"gif",  L"webp", L"bmp", L"mp3",  L"wav", L"ogg",
    L"opus", L"m4a", L"mp4",  L"webm", L"txt",  L"pdf", L"json", L"csv",
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

bool listed(std::span<const std::wstring_view> types, std::wstring_view type) {
    return std::ranges::find(types, type) != types.end();
}

// Made by the application's own origin: its https address, a blob (whose address holds the
// origin of the document that made it) or a data: address, which holds none and is judged by
// the page.
bool made_by_exact_origin(std::string_view address) noexcept {
    constexpr std::string_view blob = "blob:";
    if (address.starts_with("data:")) return true;
    return in_exact_app_origin(address.starts_with(blob) ? address.substr(blob.size()) : address);
}

}  // namespace

bool is_update_url(std::string_view address) noexcept {
    constexpr std::string_view ending = "/download/wispermoth.exe";
    return in_exact_app_origin(address) && address.substr(0, address.find_first_of("?#")).ends_with(ending);
}

DownloadRoute route_download(std::string_view source_page, std::string_view address, std::wstring proposed,
                             const std::optional<UpdatePaths>& paths, SameFile same_file) {
    using enum DownloadRoute::Kind;
    if (!in_app_origin(source_page)) return {cancelled, {}};
    if (is_update_url(address)) return {silent, paths ? paths->staged : std::move(proposed)};
    // The update steps trust these names to hold what this process put there.
    if (paths && (same_file(proposed, paths->staged) || same_file(proposed, paths->previous))) return {cancelled, {}};
    const std::wstring type = file_type(proposed);
    if (listed(kCodeTypes, type)) return {cancelled, {}};
    // A frame of another site inside the page can make a data: address; the source is the page.
    if (listed(kInertTypes, type) && in_exact_app_origin(source_page) && made_by_exact_origin(address))
        return {silent, std::move(proposed)};
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
