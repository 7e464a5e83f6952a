#include "driver/log.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "driver/handle.h"
#include "driver/text.h"

namespace e2e {
namespace {

constexpr wchar_t kOpenedLogVariable[] = L"WISPERMOTH_OPENED_LOG";

// Reads the file from `offset` on while its writer keeps it open; a missing file, or one that is
// now shorter than the offset, reads as empty.
std::string read_shared(const std::filesystem::path& path, std::uint64_t offset = 0) {
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    LARGE_INTEGER start{};
    start.QuadPart = static_cast<LONGLONG>(offset);
    if (offset != 0 && !SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) return {};
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    return content;
}

// The lines that end in a line feed; a line still being written is left for the next read.
std::vector<std::string_view> complete_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (auto end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

HWND window_from_hex(std::string_view hex) {
    if (!hex.starts_with("0x") || hex.size() == 2) return nullptr;
    std::uintptr_t value = 0;
    const auto [end, error] = std::from_chars(hex.data() + 2, hex.data() + hex.size(), value, 16);
    if (error != std::errc() || end != hex.data() + hex.size()) return nullptr;
    return reinterpret_cast<HWND>(value);
}

bool StandinEntry::belongs_to(HWND top_level) const {
    HWND parent = window_from_hex(view);
    return parent != nullptr && GetAncestor(parent, GA_ROOT) == top_level;
}

std::string unescape_payload(std::string_view escaped) {
    std::string text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\' || i + 1 == escaped.size()) {
            text += escaped[i];
            continue;
        }
        switch (escaped[++i]) {
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            case 't': text += '\t'; break;
            default: text += escaped[i]; break;
        }
    }
    return text;
}

std::string StandinLog::text() const { return read_shared(path_); }

const std::vector<StandinEntry>& StandinLog::parsed() const {
    const std::string content = read_shared(path_, read_up_to_);
    const auto lines = complete_lines(content);
    if (!lines.empty()) read_up_to_ += static_cast<std::uint64_t>(lines.back().data() + lines.back().size() + 1 - content.data());
    for (std::string_view line : lines) {
        StandinEntry entry;
        const auto first_tab = line.find('\t');
        entry.view = line.substr(0, first_tab);
        if (first_tab != std::string_view::npos) {
            line.remove_prefix(first_tab + 1);
            const auto second_tab = line.find('\t');
            entry.event = line.substr(0, second_tab);
            if (second_tab != std::string_view::npos) entry.payload = unescape_payload(line.substr(second_tab + 1));
        }
        entries_.push_back(std::move(entry));
    }
    return entries_;
}

std::vector<std::string> payloads(const std::vector<StandinEntry>& entries, std::string_view event) {
    std::vector<std::string> found;
    for (const auto& entry : entries)
        if (entry.event == event) found.push_back(entry.payload);
    return found;
}

std::optional<std::string> last_payload(const std::vector<StandinEntry>& entries, std::string_view event) {
    const auto found = std::find_if(entries.rbegin(), entries.rend(),
                                    [&](const StandinEntry& entry) { return entry.event == event; });
    if (found == entries.rend()) return std::nullopt;
    return found->payload;
}

std::size_t first_index(const std::vector<StandinEntry>& entries, std::string_view event) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const StandinEntry& entry) { return entry.event == event; });
    return static_cast<std::size_t>(found - entries.begin());
}

OpenedLog OpenedLog::from_environment() {
    wchar_t unix_path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(kOpenedLogVariable, unix_path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("WISPERMOTH_OPENED_LOG is not set: run the tests through scripts/test.sh");
    std::filesystem::path path = windows_path(narrow(std::wstring_view(unix_path, length)));
    const std::size_t offset = read_shared(path).size();
    return OpenedLog(std::move(path), offset);
}

std::vector<std::string> OpenedLog::lines() const {
    const std::string content = read_shared(path_);
    std::vector<std::string> lines;
    if (content.size() <= offset_) return lines;
    for (std::string_view line : complete_lines(std::string_view(content).substr(offset_)))
        lines.emplace_back(line);
    return lines;
}

}  // namespace e2e
