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

// An address on the application's web origin whose path, before any "?" or "#", ends in
// "/download/wispermoth.exe" (byte for byte, case-sensitive).
bool is_update_url(std::string_view address) noexcept;

// Whether two full paths name the same file, as the file system compares names.
using SamePath = bool (*)(std::wstring_view, std::wstring_view);

// What becomes of a download that `source_page` started, judged by that page, by the download's
// own address and by where it would be written (`proposed`, the runtime's choice):
// - a foreign page's download, and any download onto the update's staged or previous name
//   (which only the update itself may take), never runs;
// - the update goes to the staged file in silence;
// - the application's own file (https on the origin, a blob of the origin, or a data: address,
//   which carries no origin of its own) is written in silence where proposed, and its end told;
// - anything else, such as an attachment a foreign server answers a link with while the window
//   still shows the application, is left to the runtime's visible download interface, and never
//   runs when its file type runs code. So is a data: address of such a type: a foreign frame
//   inside the application's page can make one.
DownloadRoute route_download(std::string_view source_page, std::string_view address, std::wstring proposed,
                             const std::optional<UpdatePaths>& paths, SamePath same_path);

// What the page is told of a finished download: the update finished or failed, or another
// download that completed with a named file saved under that name; nothing otherwise.
// `result_path` is the path a completed download was written to.
std::optional<DownloadEnd> on_download_completed(std::string_view address,
                                                 const std::optional<std::u16string>& result_path, bool completed);

}  // namespace wm
