#pragma once
// What a program file's own bytes say of it: whether this shell can become it, whether it is
// signed, and its version.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace wm {

// How much of a file `is_gui_program_x64` needs: linkers put the headers within the first
// few hundred bytes.
inline constexpr std::size_t kProgramHeadSize = 4096;

// A 64-bit Windows GUI executable: "MZ", the "PE\0\0" signature it points to, machine AMD64, an
// executable image that is not a DLL, a PE32+ optional header and the GUI subsystem, all within
// `head`.
bool is_gui_program_x64(std::span<const std::byte> head) noexcept;

// A file version as the version resource's fixed part writes it: major, minor, patch, build.
struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t patch = 0;
    std::uint16_t build = 0;
    friend auto operator<=>(const FileVersion&, const FileVersion&) = default;
};

// What the update steps need to know of a program file, read from its bytes alone.
struct ProgramFacts {
    bool gui_program_x64 = false;
    // The PE security directory holds a certificate table: the file is signed, whether or not
    // the signature verifies. A general-purpose check's error code cannot tell a damaged
    // signature from none; the file can. Nothing when the headers cannot be read.
    std::optional<bool> certificate_table;
    std::optional<FileVersion> version;  // the version resource's file version
    // From the first string table of the version resource.
    std::optional<std::u16string> product_name;
    std::optional<std::u16string> original_file_name;
};

// A whole program file; `image` may be cut short, which leaves what lies beyond it unknown.
ProgramFacts program_facts(std::span<const std::byte> image) noexcept;

// A file's Authenticode signature as the system judged it.
struct Signature {
    bool verified = false;       // the system accepts it
    std::string signer_subject;  // the signer certificate's subject name, as encoded in it
};

// A signed running program becomes only a file that verifies, is signed under the same subject
// (even when its own certificate has expired or its own check fails), names this product and
// its original file name in its version resource, as the running build does, and is no older
// than itself. (An unsigned one becomes any program.)
enum class UpdateRefusal { none, signature, other_program, older };
UpdateRefusal judge_signed_update(const Signature& running, FileVersion running_version, const Signature& staged,
                                  const ProgramFacts& staged_facts);

}  // namespace wm
