#include "update/program_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

// A signed build as far as its bytes go: one section holding the resources, with version 0.2.13
// in the version resource (type 16, name 1, language 0x409), and a certificate table at the end.
constexpr std::size_t kDirectories = kOptional + 112;
constexpr std::size_t kResources = 0x200;  // in the file; at 0x1000 in memory
constexpr std::size_t kVersionInfo = kResources + 0x60;
constexpr std::size_t kStringFileInfo = kVersionInfo + 92;  // one table, with the two names

Bytes signed_build() {
    Bytes bytes = gui_program();
    bytes.resize(0x410);
    put(bytes, kPe + 6, 1, 2);               // one section
    put(bytes, kOptional + 108, 16, 4);      // sixteen data directories
    put(bytes, kDirectories + 16, 0x1000, 4);  // resources
    put(bytes, kDirectories + 20, 0x100, 4);
    put(bytes, kDirectories + 32, 0x400, 4);   // certificate table, at a file offset
    put(bytes, kDirectories + 36, 0x10, 4);
    const std::size_t section = kOptional + 240;
    put(bytes, section + 12, 0x1000, 4);
    put(bytes, section + 16, 0x200, 4);
    put(bytes, section + 20, kResources, 4);
    // Three levels of one entry each, then the data entry.
    for (const std::size_t level : {0x0, 0x18, 0x30}) put(bytes, kResources + level + 14, 1, 2);
    put(bytes, kResources + 0x10, 16, 4);
    put(bytes, kResources + 0x14, 0x80000018, 4);
    put(bytes, kResources + 0x28, 1, 4);
    put(bytes, kResources + 0x2C, 0x80000030, 4);
    put(bytes, kResources + 0x40, 0x409, 4);
    put(bytes, kResources + 0x44, 0x48, 4);
    put(bytes, kResources + 0x48, 0x1060, 4);
    put(bytes, kResources + 0x4C, 278, 4);
    // Each node: its length, its value's length, a type, its key; children at 32-bit boundaries.
    const auto node = [&](std::size_t at, std::uint32_t length, std::uint32_t value_length, std::u16string_view key) {
        put(bytes, at, length, 2);
        put(bytes, at + 2, value_length, 2);
        for (std::size_t i = 0; i < key.size(); ++i) put(bytes, at + 6 + 2 * i, key[i], 2);
    };
    node(kVersionInfo, 278, 52, u"VS_VERSION_INFO");
    put(bytes, kVersionInfo + 40, 0xFEEF04BD, 4);
    put(bytes, kVersionInfo + 48, 0x00000002, 4);  // 0.2
    put(bytes, kVersionInfo + 52, 0x000D0000, 4);  // .13.0
    node(kStringFileInfo, 186, 0, u"StringFileInfo");
    node(kStringFileInfo + 36, 150, 0, u"040904B0");
    node(kStringFileInfo + 60, 54, 11, u"ProductName");
    node(kStringFileInfo + 116, 70, 15, u"OriginalFilename");
    for (std::size_t i = 0; i < 14; ++i) {
        if (i < 10) put(bytes, kStringFileInfo + 92 + 2 * i, u"wispermoth"[i], 2);
        put(bytes, kStringFileInfo + 156 + 2 * i, u"wispermoth.exe"[i], 2);
    }
    return bytes;
}

TEST(ProgramImage, SignedIsACertificateTableAndTheVersionIsTheResourcesFileVersion) {
    struct Case {
        const char* label;
        std::function<void(Bytes&)> change;
        std::optional<bool> certificate_table;  // nothing: the headers cannot tell
        std::optional<FileVersion> version;
    };
    const FileVersion built{0, 2, 13, 0};
    const Case cases[] = {
        {"as built and signed", [](Bytes&) {}, true, built},
        {"unsigned", [](Bytes& b) { put(b, kDirectories + 36, 0, 4); }, false, built},
        // However damaged, a table there means the file was signed.
        {"certificate table past the end", [](Bytes& b) { b.resize(0x400); }, true, built},
        {"too few directories for either", [](Bytes& b) { put(b, kOptional + 108, 2, 4); }, false, std::nullopt},
        {"not a program", [](Bytes& b) { put(b, kOptional + 68, 3, 2); }, std::nullopt, std::nullopt},
        {"cut inside the security directory", [](Bytes& b) { b.resize(kDirectories + 34); }, std::nullopt, std::nullopt},
        {"one patch lower", [](Bytes& b) { put(b, kVersionInfo + 52, 0x000C0000, 4); }, true, FileVersion{0, 2, 12, 0}},
        {"no resources", [](Bytes& b) { put(b, kDirectories + 20, 0, 4); }, true, std::nullopt},
        {"no version resource", [](Bytes& b) { put(b, kResources + 0x10, 3, 4); }, true, std::nullopt},
        {"another key", [](Bytes& b) { put(b, kVersionInfo + 6, 'v', 2); }, true, std::nullopt},
        {"no fixed part", [](Bytes& b) { put(b, kVersionInfo + 40, 0, 4); }, true, std::nullopt},
        {"data outside every section", [](Bytes& b) { put(b, kResources + 0x48, 0x2000, 4); }, true, std::nullopt},
        {"data ending exactly with its section", [](Bytes& b) { put(b, kOptional + 240 + 16, 0x60 + 278, 4); }, true,
         built},
        {"data cut short", [](Bytes& b) { put(b, kResources + 0x4C, 50, 4); }, true, std::nullopt},
        {"file cut inside the resources", [](Bytes& b) { b.resize(kVersionInfo + 50); }, true, std::nullopt},
        {"subdirectory loop", [](Bytes& b) { put(b, kResources + 0x2C, 0x80000000, 4); }, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bytes = signed_build();
        c.change(bytes);
        const ProgramFacts facts = program_facts(bytes);
        EXPECT_EQ(facts.certificate_table, c.certificate_table);
        EXPECT_EQ(facts.version, c.version);
    }
}

TEST(ProgramImage, TheNamesComeFromTheVersionResourcesFirstStringTable) {
    using Names = std::pair<std::optional<std::u16string>, std::optional<std::u16string>>;
    struct Case {
        const char* label;
        std::function<void(Bytes&)> change;
        Names names;
    };
    const Case cases[] = {
        {"as built", [](Bytes&) {}, {u"wispermoth", u"wispermoth.exe"}},
        {"another product", [](Bytes& b) { put(b, kStringFileInfo + 92, 'v', 2); }, {u"vispermoth", u"wispermoth.exe"}},
        {"no string table", [](Bytes& b) { put(b, kStringFileInfo + 6, 'X', 2); }, {}},
        {"a string longer than its table", [](Bytes& b) { put(b, kStringFileInfo + 116, 90, 2); },
         {u"wispermoth", std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bytes = signed_build();
        c.change(bytes);
        const ProgramFacts facts = program_facts(bytes);
        EXPECT_EQ(Names(facts.product_name, facts.original_file_name), c.names);
        EXPECT_EQ(facts.version, (FileVersion{0, 2, 13, 0}));
    }
}

}  // namespace
}  // namespace wm
