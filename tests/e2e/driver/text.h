#pragma once
// UTF-8 and UTF-16 conversions and the path forms the driver moves between.

#include <filesystem>
#include <string>
#include <string_view>

namespace e2e {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// The Windows form of a Unix path: the prefix maps drive Z: to the Unix root.
std::filesystem::path windows_path(std::string_view unix_path);

}  // namespace e2e
