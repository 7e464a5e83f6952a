#pragma once
// Icons as pixels, so that a case can tell which icon group a window of the shell shows.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

namespace e2e {

// An icon's colour image: 32-bit ARGB pixels, top row first.
struct IconImage {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint32_t> pixels;
    friend bool operator==(const IconImage&, const IconImage&) = default;
};
std::ostream& operator<<(std::ostream& out, const IconImage& image);

// An executable's resources, mapped as data: none of its code is loaded or run.
class ResourceModule {
public:
    // Throws when the file cannot be mapped.
    explicit ResourceModule(const std::filesystem::path& executable);
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    ~ResourceModule();

    // The icon group's image at the system's standard size (LR_DEFAULTSIZE), as the shell loads
    // it; nothing when the group cannot be loaded.
    std::optional<IconImage> icon_group_image(int id) const;

private:
    HMODULE module_ = nullptr;
};

// The small icon a window of the shell shows now (WM_GETICON with ICON_SMALL), read inside the
// shell's process by the icon probe; nothing when the window has none. Throws when the probe
// cannot be installed or gives no answer.
std::optional<IconImage> shown_small_icon(HWND window);

}  // namespace e2e
