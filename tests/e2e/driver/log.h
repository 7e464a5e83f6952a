#pragma once
// The two logs a case reads while the shell runs: the stand-in runtime's record of every call
// the shell made into it, and the recorder of addresses the system was asked to open.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/wait.h"

namespace e2e {

// A window as the stand-in writes it ("0x1a2b"); null when the text is not one.
HWND window_from_hex(std::string_view hex);

// One line of the stand-in's log: `<view>\t<event>\t<payload>`, the payload unescaped.
struct StandinEntry {
    std::string view;  // the controller's parent window in hex, or "-" for the environment
    std::string event;
    std::string payload;

    // Whether the controller's parent is this top-level window or lies inside it.
    bool belongs_to(HWND top_level) const;
};

std::string unescape_payload(std::string_view escaped);

class StandinLog {
public:
    explicit StandinLog(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }
    // The raw text, for failure messages.
    std::string text() const;
    // Every complete line written so far. Reads only what was added since the last call, so
    // polling a long log costs what it grew by, not its whole size.
    std::vector<StandinEntry> entries() const { return parsed(); }

    // The entries once `condition` holds for them; nothing when it still fails after the timeout.
    template <class Condition>
    std::optional<std::vector<StandinEntry>> wait_until(Condition&& condition,
                                                        std::chrono::milliseconds timeout = kEffectTimeout) const {
        return poll_for(timeout, [&]() -> std::optional<std::vector<StandinEntry>> {
            if (const auto& current = parsed(); condition(current)) return current;
            return std::nullopt;
        });
    }

private:
    const std::vector<StandinEntry>& parsed() const;

    std::filesystem::path path_;
    mutable std::vector<StandinEntry> entries_;
    mutable std::uint64_t read_up_to_ = 0;  // the end of the last complete line parsed
};

// The payloads of one event, in log order.
std::vector<std::string> payloads(const std::vector<StandinEntry>& entries, std::string_view event);
std::optional<std::string> last_payload(const std::vector<StandinEntry>& entries, std::string_view event);
// Position of the first entry of the event, or entries.size() when there is none.
std::size_t first_index(const std::vector<StandinEntry>& entries, std::string_view event);

// The addresses the system was asked to open (ShellExecute's handler), one per line, recorded by
// the script the test run registers as the prefix's browser and mailer.
class OpenedLog {
public:
    // The run's recorder log, read from its current end onwards. Throws when the test run did
    // not set it up.
    static OpenedLog from_environment();

    std::vector<std::string> lines() const;

private:
    OpenedLog(std::filesystem::path path, std::size_t offset) : path_(std::move(path)), offset_(offset) {}

    std::filesystem::path path_;
    std::size_t offset_;
};

}  // namespace e2e
