#pragma once
// What is known of an opened file before any of it is read: enough to refuse it unread, and which
// file it is.

#include <array>
#include <cstdint>

namespace wm {

struct FileFacts {
    bool plain_disk_file = false;  // not a pipe, a device or a folder, any of which may block a read
    std::uint64_t size = 0;
};

// A file as the system tells it from every other, whatever its name: its volume's serial number
// and its identifier on that volume, 128 bits where the file system gives them (ReFS may repeat
// the 64-bit index), otherwise the 64-bit index in the low half.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::array<std::uint8_t, 16> id{};
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

}  // namespace wm
