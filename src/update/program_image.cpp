#include "update/program_image.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace wm {
namespace {

// Little-endian fields; nothing when the field does not lie wholly within the bytes.
std::optional<std::uint32_t> read_le(std::span<const std::byte> bytes, std::size_t offset, std::size_t size) noexcept {
    if (offset > bytes.size() || bytes.size() - offset < size) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8 | std::to_integer<std::uint32_t>(bytes[offset + i]);
    return value;
}

constexpr std::uint32_t kDosMagic = 0x5A4D;         // "MZ"
constexpr std::size_t kNewHeaderOffset = 0x3C;      // e_lfanew
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint32_t kMachineAmd64 = 0x8664;
constexpr std::uint32_t kExecutableImage = 0x0002;
constexpr std::uint32_t kDll = 0x2000;
constexpr std::uint32_t kPe32Plus = 0x020B;
constexpr std::uint32_t kSubsystemGui = 2;
// Offsets from the signature: the file header follows it, the optional header follows that.
constexpr std::size_t kMachine = 4;
constexpr std::size_t kOptionalHeaderSize = 20;
constexpr std::size_t kCharacteristics = 22;
constexpr std::size_t kOptionalHeader = 24;
constexpr std::size_t kSectionCount = 6;
// Offsets within the optional header.
constexpr std::size_t kSubsystem = 68;
constexpr std::size_t kDirectoryCount = 108;
constexpr std::size_t kDataDirectories = 112;
constexpr std::size_t kResourceDirectory = 2;
constexpr std::size_t kSecurityDirectory = 4;
// A section header: its size in memory, where it lies in memory and in the file.
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionAddress = 12;
constexpr std::size_t kSectionRawSize = 16;
constexpr std::size_t kSectionRawOffset = 20;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

// Where `size` bytes at the image address `address` lie in the file, when one section holds
// them whole.
std::optional<std::size_t> file_offset(std::span<const std::byte> image, std::size_t pe, std::size_t optional_size,
                                       std::uint64_t address, std::uint64_t size) noexcept {
    const auto count = read_le(image, pe + kSectionCount, 2);
    if (!count) return std::nullopt;
    const std::size_t table = pe + kOptionalHeader + optional_size;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t header = table + i * kSectionHeaderSize;
        const auto start = read_le(image, header + kSectionAddress, 4);
        const auto raw_size = read_le(image, header + kSectionRawSize, 4);
        const auto raw_offset = read_le(image, header + kSectionRawOffset, 4);
        if (!start || !raw_size || !raw_offset) return std::nullopt;
        if (address >= *start && address + size <= std::uint64_t{*start} + *raw_size)
            return static_cast<std::size_t>(*raw_offset + (address - *start));
    }
    return std::nullopt;
}

// The resource directory entry named `id`, or the first one when `id` is nothing: the
// subdirectory or data entry it points to, as an offset from the resources' start.
std::optional<std::uint32_t> resource_entry(std::span<const std::byte> resources, std::size_t directory,
                                            std::optional<std::uint32_t> id) noexcept {
    const auto named = read_le(resources, directory + 12, 2);
    const auto numbered = read_le(resources, directory + 14, 2);
    if (!named || !numbered) return std::nullopt;
    for (std::size_t i = 0; i < std::size_t{*named} + *numbered; ++i) {
        const std::size_t entry = directory + 16 + 8 * i;
        const auto name = read_le(resources, entry, 4);
        const auto target = read_le(resources, entry + 4, 4);
        if (!name || !target) return std::nullopt;
        if (!id || (i >= *named && *name == *id)) return *target;
    }
    return std::nullopt;
}

// The file version in the fixed part of the first version resource: type, then its first name,
// then its first language, then the data, which begins with the key "VS_VERSION_INFO".
std::optional<FileVersion> version_resource(std::span<const std::byte> image, std::size_t pe, std::size_t optional_size,
                                            std::uint32_t resources_address) noexcept {
    const auto root = file_offset(image, pe, optional_size, resources_address, 16);
    if (!root || *root > image.size()) return std::nullopt;
    const auto resources = image.subspan(*root);
    std::optional<std::uint32_t> entry = resource_entry(resources, 0, kVersionType);
    for (int level = 0; level < 2; ++level) {
        if (!entry || !(*entry & kSubdirectory)) return std::nullopt;
        entry = resource_entry(resources, *entry & ~kSubdirectory, std::nullopt);
    }
    if (!entry || (*entry & kSubdirectory)) return std::nullopt;
    const auto data_address = read_le(resources, *entry, 4);
    const auto data_size = read_le(resources, *entry + 4, 4);
    if (!data_address || !data_size) return std::nullopt;
    const auto data = file_offset(image, pe, optional_size, *data_address, *data_size);
    if (!data || *data > image.size() || image.size() - *data < *data_size) return std::nullopt;
    const auto info = image.subspan(*data, *data_size);
    constexpr std::u16string_view key = u"VS_VERSION_INFO";
    for (std::size_t i = 0; i <= key.size(); ++i)
        if (read_le(info, 6 + 2 * i, 2) != (i < key.size() ? key[i] : 0)) return std::nullopt;
    constexpr std::size_t fixed = 40;  // the key and its padding to 32 bits
    if (read_le(info, fixed, 4) != kFixedInfoSignature) return std::nullopt;
    const auto high = read_le(info, fixed + 8, 4);
    const auto low = read_le(info, fixed + 12, 4);
    if (!high || !low) return std::nullopt;
    return FileVersion{static_cast<std::uint16_t>(*high >> 16), static_cast<std::uint16_t>(*high),
                       static_cast<std::uint16_t>(*low >> 16), static_cast<std::uint16_t>(*low)};
}

}  // namespace

bool is_gui_program_x64(std::span<const std::byte> head) noexcept {
    if (read_le(head, 0, 2) != kDosMagic) return false;
    const auto pe = read_le(head, kNewHeaderOffset, 4);
    if (!pe || read_le(head, *pe, 4) != kPeSignature || read_le(head, *pe + kMachine, 2) != kMachineAmd64) return false;
    const auto characteristics = read_le(head, *pe + kCharacteristics, 2);
    if (!characteristics || !(*characteristics & kExecutableImage) || (*characteristics & kDll)) return false;
    const auto optional_size = read_le(head, *pe + kOptionalHeaderSize, 2);
    if (!optional_size || *optional_size < kSubsystem + 2) return false;
    const std::size_t optional = *pe + kOptionalHeader;
    return read_le(head, optional, 2) == kPe32Plus && read_le(head, optional + kSubsystem, 2) == kSubsystemGui;
}

ProgramFacts program_facts(std::span<const std::byte> image) noexcept {
    ProgramFacts facts;
    facts.gui_program_x64 = is_gui_program_x64(image.first(std::min(image.size(), kProgramHeadSize)));
    if (!facts.gui_program_x64) return facts;
    // The check above placed every header field read here within the bytes, or read_le says so.
    const std::size_t pe = *read_le(image, kNewHeaderOffset, 4);
    const std::size_t optional = pe + kOptionalHeader;
    const std::size_t optional_size = *read_le(image, pe + kOptionalHeaderSize, 2);
    const auto directory = [&](std::size_t index) -> std::optional<std::pair<std::uint32_t, std::uint32_t>> {
        const std::size_t at = kDataDirectories + 8 * index;
        const auto count = read_le(image, optional + kDirectoryCount, 4);
        if (!count || *count <= index || optional_size < at + 8) return std::nullopt;
        const auto address = read_le(image, optional + at, 4);
        const auto size = read_le(image, optional + at + 4, 4);
        if (!address || !size) return std::nullopt;
        return std::pair{*address, *size};
    };
    // The security directory's address is a file offset; a table is there when it has any size.
    if (const auto security = directory(kSecurityDirectory)) facts.certificate_table = security->second != 0;
    if (const auto resources = directory(kResourceDirectory); resources && resources->second != 0)
        facts.version = version_resource(image, pe, optional_size, resources->first);
    return facts;
}

UpdateRefusal judge_signed_update(const Signature& running, FileVersion running_version, const Signature& staged,
                                  const std::optional<FileVersion>& staged_version) noexcept {
    if (!staged.verified || staged.signer_subject.empty() || staged.signer_subject != running.signer_subject)
        return UpdateRefusal::signature;
    // Anyone who can serve a file at an update address could otherwise bring back an old release
    // with a known hole.
    if (!staged_version || *staged_version < running_version) return UpdateRefusal::older;
    return UpdateRefusal::none;
}

}  // namespace wm
