#include "features/leftovers.h"

#include <algorithm>

#include "base/app_folder.h"
#include "base/text_codec.h"

namespace wm {

std::wstring temporary_file_name(std::wstring_view name, std::uint32_t process_id) {
    return std::wstring(name) + L"." + decimal_text(process_id) + L".tmp";
}

std::optional<std::uint32_t> temporary_file_owner(std::wstring_view file_name) noexcept {
    constexpr std::wstring_view suffix = L".tmp";
    if (!file_name.ends_with(suffix)) return std::nullopt;
    file_name.remove_suffix(suffix.size());
    const auto dot = file_name.rfind(L'.');
    if (dot == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view digits = file_name.substr(dot + 1);
    const std::wstring_view name = file_name.substr(0, dot);
    // The names are ASCII: each wide character equals its narrow one.
    bool known = false;
    for (const std::string_view candidate : kAppFolderFiles) known = known || std::ranges::equal(name, candidate);
    if (!known || digits.empty() || digits.size() > 10) return std::nullopt;
    std::uint64_t id = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        id = id * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    if (id > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(id);
}

}  // namespace wm
