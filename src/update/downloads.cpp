#include "update/downloads.h"

#include "base/text_codec.h"
#include "links/origin.h"

namespace wm {

bool is_update_url(std::string_view address) noexcept {
    constexpr std::string_view ending = "/download/wispermoth.exe";
    return in_app_origin(address) && address.substr(0, address.find_first_of("?#")).ends_with(ending);
}

std::optional<std::wstring> on_download_started(std::string_view source_page, std::string_view address,
                                                std::wstring proposed, const std::optional<UpdatePaths>& paths) {
    if (!in_app_origin(source_page)) return std::nullopt;
    if (paths && is_update_url(address)) return paths->staged;
    return proposed;
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
