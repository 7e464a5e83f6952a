// Checks the update-URL rule and the program-header check, each against a second reading: the
// address walked character by character instead of cut and compared; the headers read through
// bounds-checked element access instead of offset arithmetic.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "links/origin.h"
#include "update/downloads.h"
#include "update/program_image.h"

namespace {

bool walk_reading(std::string_view address) {
    // The path ends at the first "?" or "#"; only its last 24 characters count.
    std::string before_query;
    for (const char c : address) {
        if (c == '?' || c == '#') break;
        before_query += c;
    }
    const std::string ending = "/download/wispermoth.exe";
    if (before_query.size() < ending.size()) return false;
    for (std::size_t i = 0; i < ending.size(); ++i)
        if (before_query[before_query.size() - ending.size() + i] != ending[i]) return false;
    return wm::in_exact_app_origin(address);
}

// Throws std::out_of_range for a field that the bytes do not hold.
std::uint64_t field(const std::vector<std::uint8_t>& bytes, std::uint64_t offset, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) value |= std::uint64_t{bytes.at(offset + i)} << (8 * i);
    return value;
}

bool checked_reading(const std::vector<std::uint8_t>& bytes) {
    try {
        if (field(bytes, 0, 2) != 0x5A4D) return false;
        const std::uint64_t pe = field(bytes, 0x3C, 4);
        if (field(bytes, pe, 4) != 0x4550 || field(bytes, pe + 4, 2) != 0x8664) return false;
        const std::uint64_t characteristics = field(bytes, pe + 22, 2);
        if ((characteristics & 0x2002) != 0x0002 || field(bytes, pe + 20, 2) < 70) return false;
        return field(bytes, pe + 24, 2) == 0x20B && field(bytes, pe + 24 + 68, 2) == 2;
    } catch (const std::out_of_range&) {
        return false;
    }
}

void check_address(std::string_view address) {
    if (wm::is_update_url(address) != walk_reading(address)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check_address(input);
    // Random bytes rarely spell the origin or the ending; these put them around the input.
    check_address("https://wispermoth.app/" + std::string(input));
    check_address("https://wispermoth.app/" + std::string(input) + "/download/wispermoth.exe");
    check_address("https://wispermoth.app" + std::string(input) + "/download/wispermoth.exe" + std::string(input));

    const std::vector<std::uint8_t> bytes(data, data + size);
    if (wm::is_gui_program_x64(std::as_bytes(std::span(data, size))) != checked_reading(bytes)) std::abort();
    // The walk through sections and resources stays within the bytes (the sanitizers watch it),
    // and finds nothing in a file that is no program.
    const wm::ProgramFacts facts = wm::program_facts(std::as_bytes(std::span(data, size)));
    if (facts.gui_program_x64 != checked_reading(bytes) && size <= wm::kProgramHeadSize) std::abort();
    if (!facts.gui_program_x64 && (facts.certificate_table || facts.version || facts.product_name)) std::abort();
    return 0;
}
