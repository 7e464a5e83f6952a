#include "links/origin.h"

#include <optional>

#include "base/product.h"

namespace wm {
namespace {

// The host of an https address on the default port; nothing for any other address.
std::optional<std::string_view> https_host(std::string_view address) noexcept {
    constexpr std::string_view scheme = "https://";
    if (!address.starts_with(scheme)) return std::nullopt;

    const std::string_view rest = address.substr(scheme.size());
    std::string_view authority = rest.substr(0, rest.find_first_of("/\\?#"));
    // User information before an "@" never names the host: "https://wispermoth.app@evil/"
    // goes to "evil" in every browser.
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    // Any port written, even an empty one or 443, which the runtime never reports.
    if (authority.find(':') != std::string_view::npos) return std::nullopt;
    return authority;
}

}  // namespace

bool in_app_origin(std::string_view address) noexcept {
    const auto host = https_host(address);
    if (!host) return false;
    if (*host == kOriginHost) return true;
    return host->size() > kOriginHost.size() && host->ends_with(kOriginHost) &&
           (*host)[host->size() - kOriginHost.size() - 1] == '.';
}

bool in_exact_app_origin(std::string_view address) noexcept {
    return https_host(address) == kOriginHost;
}

}  // namespace wm
