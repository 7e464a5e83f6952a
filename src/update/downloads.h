#pragma once
// What the download handlers decide: which download is the update, where each download goes and
// which notice its end becomes.

#include <optional>
#include <string>
#include <string_view>

#include "base/download_route.h"
#include "base/loop_event.h"
#include "update/update_paths.h"

namespace wm {

// An address on the application's own origin (the origin host itself, the default port) whose
// path, before any "?" or "#", ends in "/download/wispermoth.exe" (byte for byte, case-sensitive).
bool is_update_url(std::string_view address) noexcept;

// Whether two full paths open the same file, however each is spelled.
using SameFile = bool (*)(std::wstring_view, std::wstring_view);

// What becomes of a download that `source_page` started, judged by that page, by the download's
// own address and by where it would be written (`proposed`, the runtime's choice):
// - a foreign page's download, and any download onto the update's staged or previous file
//   (which only the update itself may take), never runs;
// - the update goes to the staged file in silence;
// - a file type that runs code or mounts is never saved;
// - an inert file (an image, a sound, a video, text, PDF, JSON, CSV) of the application's own
//   origin (its https address, a blob it made, or a data: address while the page is on that
//   origin) is written in silence where proposed, and its end told;
// - anything else, such as an attachment a foreign server answers a link with while the window
//   still shows the application, or a file of a subdomain, is left to the runtime's visible
//   download interface, where the user decides.
DownloadRoute route_download(std::string_view source_page, std::string_view address, std::wstring proposed,
                             const std::optional<UpdatePaths>& paths, SameFile same_file);

// What the page is told of a finished download: the update finished or failed, or another
// download that completed with a named file saved under that name; nothing otherwise.
// `result_path` is the path a completed download was written to.
std::optional<DownloadEnd> on_download_completed(std::string_view address,
                                                 const std::optional<std::u16string>& result_path, bool completed);

}  // namespace wm
