#include "update/program_image.h"

#include <cstdint>
#include <optional>

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
// Offsets within the optional header.
constexpr std::size_t kSubsystem = 68;

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

bool signature_allows(const Signature& running, const Signature& staged) noexcept {
    if (!running.present) return true;
    return staged.verified && !staged.signer_subject.empty() && staged.signer_subject == running.signer_subject;
}

}  // namespace wm
