#include "links/external_scheme.h"

#include <array>

#include "links/origin.h"

namespace wm {
namespace {

bool equals_ignoring_case(std::string_view text, std::string_view lower) noexcept {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i]) return false;
    }
    return true;
}

}  // namespace

bool has_external_scheme(std::string_view address) noexcept {
    constexpr std::array<std::string_view, 3> allowed = {"http", "https", "mailto"};
    const auto colon = address.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view scheme = address.substr(0, colon);
    for (const std::string_view name : allowed) {
        if (equals_ignoring_case(scheme, name)) return true;
    }
    return false;
}

bool may_open_requested_window(std::string_view requesting_page, bool user_initiated) noexcept {
    return user_initiated || in_app_origin(requesting_page);
}

}  // namespace wm
