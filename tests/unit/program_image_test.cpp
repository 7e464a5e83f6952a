#include "update/program_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace wm {
namespace {

using Bytes = std::vector<std::byte>;

void put(Bytes& bytes, std::size_t offset, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[offset + i] = std::byte(value >> (8 * i) & 0xFF);
}

constexpr std::size_t kPe = 0x80;
constexpr std::size_t kOptional = kPe + 24;

// The headers of a 64-bit GUI program as a linker writes them, with nothing else.
Bytes gui_program() {
    Bytes bytes(0x200);
    put(bytes, 0, 0x5A4D, 2);
    put(bytes, 0x3C, kPe, 4);
    put(bytes, kPe, 0x00004550, 4);
    put(bytes, kPe + 4, 0x8664, 2);
    put(bytes, kPe + 20, 240, 2);     // size of a PE32+ optional header
    put(bytes, kPe + 22, 0x0022, 2);  // executable image, large addresses
    put(bytes, kOptional, 0x020B, 2);
    put(bytes, kOptional + 68, 2, 2);
    return bytes;
}

TEST(ProgramImage, OnlyA64BitGuiExecutable) {
    struct Case {
        const char* label;
        std::function<void(Bytes&)> change;
        bool accepted;
    };
    const Case cases[] = {
        {"as linked", [](Bytes&) {}, true},
        {"headers further in",
         [](Bytes& b) {
             Bytes moved(0x500);
             std::copy(b.begin() + kPe, b.end(), moved.begin() + 0x300);
             std::copy(b.begin(), b.begin() + kPe, moved.begin());
             put(moved, 0x3C, 0x300, 4);
             b = moved;
         },
         true},
        {"empty", [](Bytes& b) { b.clear(); }, false},
        {"an HTML error page", [](Bytes& b) { put(b, 0, 0x683C, 2); }, false},
        {"no MZ", [](Bytes& b) { put(b, 0, 0x5A4E, 2); }, false},
        {"cut inside the DOS header", [](Bytes& b) { b.resize(0x3E); }, false},
        {"signature beyond the bytes", [](Bytes& b) { put(b, 0x3C, 0x1FE, 4); }, false},
        {"signature offset overflows", [](Bytes& b) { put(b, 0x3C, 0xFFFFFFFF, 4); }, false},
        {"no PE signature", [](Bytes& b) { put(b, kPe, 0x00004551, 4); }, false},
        {"32-bit x86", [](Bytes& b) { put(b, kPe + 4, 0x014C, 2); }, false},
        {"ARM64", [](Bytes& b) { put(b, kPe + 4, 0xAA64, 2); }, false},
        {"not an executable image", [](Bytes& b) { put(b, kPe + 22, 0x0020, 2); }, false},
        {"a DLL", [](Bytes& b) { put(b, kPe + 22, 0x2022, 2); }, false},
        {"PE32 optional header", [](Bytes& b) { put(b, kOptional, 0x010B, 2); }, false},
        {"console subsystem", [](Bytes& b) { put(b, kOptional + 68, 3, 2); }, false},
        {"optional header too short for the subsystem", [](Bytes& b) { put(b, kPe + 20, 69, 2); }, false},
        {"cut before the subsystem", [](Bytes& b) { b.resize(kOptional + 69); }, false},
        {"cut right after the subsystem", [](Bytes& b) { b.resize(kOptional + 70); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bytes = gui_program();
        c.change(bytes);
        EXPECT_EQ(is_gui_program_x64(bytes), c.accepted);
    }
}

}  // namespace
}  // namespace wm
