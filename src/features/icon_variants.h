#pragma once
// Which icon group each variant word names.

#include <optional>
#include <string_view>

namespace wm {

// The icon-group resource of a variant word ("" is the default, group 1); nothing for any
// other word. Exact, case-sensitive match.
std::optional<int> icon_resource_id(std::string_view word) noexcept;

}  // namespace wm
