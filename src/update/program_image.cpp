#include "update/program_image.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/product.h"

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

constexpr std::size_t align4(std::size_t offset) noexcept { return (offset + 3) & ~std::size_t{3}; }

// A node of the version resource's tree: its whole bytes, its key, and where its value begins.
struct VersionBlock {
    std::span<const std::byte> bytes;
    std::u16string key;
    std::size_t value_at = 0;
};

std::optional<VersionBlock> version_block(std::span<const std::byte> area, std::size_t at) noexcept {
    const auto length = read_le(area, at, 2);
    if (!length || *length < 6 || at > area.size() || area.size() - at < *length) return std::nullopt;
    VersionBlock block{area.subspan(at, *length), {}, 0};
    for (std::size_t i = 6;; i += 2) {
        const auto c = read_le(block.bytes, i, 2);
        if (!c) return std::nullopt;
        if (*c == 0) {
            block.value_at = align4(i + 2);
            return block;
        }
        block.key.push_back(static_cast<char16_t>(*c));
    }
}

// The children of a block, from `first`, each at the next 32-bit boundary; nothing past a
// damaged one.
template <class Visit>
void for_each_child(const VersionBlock& parent, std::size_t first, Visit visit) noexcept {
    for (std::size_t at = align4(first); at < parent.bytes.size();) {
        const auto child = version_block(parent.bytes, at);
        if (!child || !visit(*child)) return;
        at = align4(at + child->bytes.size());
    }
}

// The fixed part's file version, then the first string table's names, of the version resource:
// type, then its first name, then its first language.
void read_version_resource(std::span<const std::byte> image, std::size_t pe, std::size_t optional_size,
                           std::uint32_t resources_address, ProgramFacts& facts) noexcept {
    const auto root = file_offset(image, pe, optional_size, resources_address, 16);
    if (!root || *root > image.size()) return;
    const auto resources = image.subspan(*root);
    std::optional<std::uint32_t> entry = resource_entry(resources, 0, kVersionType);
    for (int level = 0; level < 2; ++level) {
        if (!entry || !(*entry & kSubdirectory)) return;
        entry = resource_entry(resources, *entry & ~kSubdirectory, std::nullopt);
    }
    if (!entry || (*entry & kSubdirectory)) return;
    const auto data_address = read_le(resources, *entry, 4);
    const auto data_size = read_le(resources, *entry + 4, 4);
    if (!data_address || !data_size) return;
    const auto data = file_offset(image, pe, optional_size, *data_address, *data_size);
    if (!data || *data > image.size() || image.size() - *data < *data_size) return;
    const auto info = version_block(image.subspan(*data, *data_size), 0);
    if (!info || info->key != u"VS_VERSION_INFO") return;
    const std::size_t fixed = info->value_at;
    if (read_le(info->bytes, fixed, 4) != kFixedInfoSignature) return;
    const auto high = read_le(info->bytes, fixed + 8, 4);
    const auto low = read_le(info->bytes, fixed + 12, 4);
    const auto fixed_size = read_le(info->bytes, 2, 2);
    if (!high || !low || !fixed_size) return;
    facts.version = FileVersion{static_cast<std::uint16_t>(*high >> 16), static_cast<std::uint16_t>(*high),
                                static_cast<std::uint16_t>(*low >> 16), static_cast<std::uint16_t>(*low)};
    for_each_child(*info, fixed + *fixed_size, [&](const VersionBlock& child) {
        if (child.key != u"StringFileInfo") return true;
        for_each_child(child, child.value_at, [&](const VersionBlock& table) {
            for_each_child(table, table.value_at, [&](const VersionBlock& string) {
                std::u16string value;
                for (std::size_t i = string.value_at;; i += 2) {
                    const auto c = read_le(string.bytes, i, 2);
                    if (!c || *c == 0) break;
                    value.push_back(static_cast<char16_t>(*c));
                }
                if (string.key == u"ProductName") facts.product_name = value;
                if (string.key == u"OriginalFilename") facts.original_file_name = value;
                return true;
            });
            return false;  // the first table only
        });
        return false;
    });
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
    // Known to be absent when the headers hold no such directory; unknown when they are cut short.
    const auto count = read_le(image, optional + kDirectoryCount, 4);
    if (count && (*count <= kSecurityDirectory || optional_size < kDataDirectories + 8 * kSecurityDirectory + 8))
        facts.certificate_table = false;
    else if (const auto security = directory(kSecurityDirectory))
        facts.certificate_table = security->second != 0;
    if (const auto resources = directory(kResourceDirectory); resources && resources->second != 0)
        read_version_resource(image, pe, optional_size, resources->first, facts);
    return facts;
}

UpdateRefusal judge_signed_update(const Signature& running, FileVersion running_version, const Signature& staged,
                                  const ProgramFacts& staged_facts) {
    if (!staged.verified || staged.signer_subject.empty() || staged.signer_subject != running.signer_subject)
        return UpdateRefusal::signature;
    // The same publisher's other programs verify under the same subject. The running build's
    // version resource carries these names, from the same constants.
    const std::u16string product(kProductName.begin(), kProductName.end());
    if (staged_facts.product_name != product || staged_facts.original_file_name != product + u".exe")
        return UpdateRefusal::other_program;
    // Anyone who can serve a file at an update address could otherwise bring back an old release
    // with a known hole.
    if (!staged_facts.version || *staged_facts.version < running_version) return UpdateRefusal::older;
    return UpdateRefusal::none;
}

}  // namespace wm
