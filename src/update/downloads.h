#pragma once
// What the download handlers decide: which download is the update, where each download goes and
// which notice its end becomes.

#include <optional>
#include <string>
#include <string_view>

#include "base/loop_event.h"
#include "update/update_paths.h"

namespace wm {

// An address on the application's web origin whose path, before any "?" or "#", ends in
// "/download/wispermoth.exe" (byte for byte, case-sensitive).
bool is_update_url(std::string_view address) noexcept;

// Where a starting download is written: the staged update file for the update, the runtime's
// proposal for everything else (and for the update when the executable's path is unknown).
// Nothing when the page that started it is not the application's: that download is cancelled,
// so a foreign page cannot leave files (a DLL, say) in the download folder.
std::optional<std::wstring> on_download_started(std::string_view source_page, std::string_view address,
                                                std::wstring proposed, const std::optional<UpdatePaths>& paths);

// What the page is told of a finished download: the update finished or failed, or another
// download that completed with a named file saved under that name; nothing otherwise.
// `result_path` is the path a completed download was written to.
std::optional<DownloadEnd> on_download_completed(std::string_view address,
                                                 const std::optional<std::u16string>& result_path, bool completed);

}  // namespace wm
