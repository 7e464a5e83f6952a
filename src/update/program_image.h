#pragma once
// Whether a file's first bytes are the headers of a program this shell can become.

#include <cstddef>
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

// A file's Authenticode signature as the system judged it.
struct Signature {
    bool present = false;        // the file carries one, whether or not it verifies
    bool verified = false;       // the system accepts it
    std::string signer_subject;  // the signer certificate's subject name, as encoded in it
};

// A signed running program becomes only a file that verifies and is signed under the same
// subject, even when its own certificate has expired; an unsigned one becomes any program.
bool signature_allows(const Signature& running, const Signature& staged) noexcept;

}  // namespace wm
