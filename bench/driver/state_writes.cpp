// State writes: what one saved placement costs during a drag of many moves, three ways: the
// shell's own save (a temporary file renamed over the state file), the way it saved before (the
// same, with the file forced to disk and the rename written through), and a plain
// truncate-and-write of the same bytes.

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "base/product.h"
#include "driver/clock.h"
#include "driver/files.h"
#include "driver/handle.h"
#include "driver/measures.h"
#include "driver/stats.h"
#include "features/state_files.h"
#include "features/state_text.h"

namespace bench {
namespace {

bool write_text(HANDLE file, std::string_view text) {
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

void save_plain(const std::wstring& path, std::string_view text) {
    const e2e::UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) (void)write_text(file.get(), text);
}

void save_flushed(const std::wstring& path, const std::wstring& temporary, std::string_view text) {
    {
        const e2e::UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !write_text(file.get(), text) || !FlushFileBuffers(file.get())) return;
    }
    (void)MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

struct Variant {
    const char* name;
    std::filesystem::path file;
    std::function<void(std::string_view)> save;
    std::vector<double> per_save_us;
};

}  // namespace

void measure_state_writes(const std::filesystem::path& folder, int rounds, int moves, Report& report) {
    SetEnvironmentVariableW(L"APPDATA", folder.c_str());
    const auto app_folder = folder / wm::kProductNameW;
    std::filesystem::create_directories(app_folder);
    const std::wstring plain = (app_folder / L"plain").native();
    const std::wstring flushed = (app_folder / L"flushed").native();
    const std::wstring flushed_temporary = flushed + L".tmp";

    // The placements of a drag across the screen, as the shell formats them.
    std::vector<std::string> placements;
    for (int move = 0; move < moves; ++move)
        placements.push_back(wm::format_window_geometry({100 + move % 900, 80 + move % 500, 1200, 800}));

    std::array<Variant, 3> variants{{
        {"plain", plain, [&](std::string_view text) { save_plain(plain, text); }, {}},
        {"shell", app_folder / L"window", [](std::string_view text) { wm::write_state_file(wm::kWindowFile, text); }, {}},
        {"flushed", flushed, [&](std::string_view text) { save_flushed(flushed, flushed_temporary, text); }, {}},
    }};
    for (auto& variant : variants) variant.save(placements.front());  // files and folder exist from here on

    for (int round = 0; round < rounds; ++round) {
        for (std::size_t turn = 0; turn < variants.size(); ++turn) {
            auto& variant = variants[(turn + static_cast<std::size_t>(round)) % variants.size()];
            const std::int64_t start = ticks();
            for (const auto& text : placements) variant.save(text);
            variant.per_save_us.push_back(1000.0 * milliseconds(ticks() - start) / moves);
            if (e2e::read_file(variant.file) != placements.back())
                throw std::runtime_error(std::string("the ") + variant.name + " save did not leave the last placement");
        }
    }

    const auto& [plain_variant, shell_variant, flushed_variant] = variants;
    auto ratios = [&](const Variant& variant) {
        std::vector<double> values;
        for (int round = 0; round < rounds; ++round)
            values.push_back(variant.per_save_us[round] / plain_variant.per_save_us[round]);
        return spread(values);
    };
    const Spread shell_ratio = ratios(shell_variant);
    const Spread flushed_ratio = ratios(flushed_variant);
    report.add({"5 placement save, µs per save (temporary file + rename)", format(spread(shell_variant.per_save_us), 1),
                format(spread(plain_variant.per_save_us), 1) + " (plain write)", format(shell_ratio, 2), "≤ 2",
                verdict(shell_ratio.median <= 2.0)});
    report.add({"5 placement save as before (flush + write-through)", format(spread(flushed_variant.per_save_us), 1),
                format(spread(plain_variant.per_save_us), 1) + " (plain write)", format(flushed_ratio, 2), "—", ""});
    report.note("State writes: " + std::to_string(rounds) + " rounds of a drag of " + std::to_string(moves) +
                " moves each, the three ways in turn (the order rotates every round); the shell's way is its own "
                "write_state_file, the others are bench code calling the same Win32 functions. Under Wine the "
                "flush is an fsync of the build folder's file system.");
}

}  // namespace bench
