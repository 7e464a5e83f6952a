#include "links/origin.h"

#include "base/product.h"

namespace wm {

bool in_app_origin(std::string_view address) noexcept {
    constexpr std::string_view scheme = "https://";
    if (!address.starts_with(scheme)) return false;

    const std::string_view rest = address.substr(scheme.size());
    std::string_view authority = rest.substr(0, rest.find_first_of("/\\?#"));
    // User information before an "@" never names the host: "https://wispermoth.app@evil/"
    // goes to "evil" in every browser.
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    const std::string_view host = authority.substr(0, authority.find(':'));

    if (host == kOriginHost) return true;
    return host.size() > kOriginHost.size() && host.ends_with(kOriginHost) &&
           host[host.size() - kOriginHost.size() - 1] == '.';
}

}  // namespace wm
