#pragma once
// What is known of an opened file before any of it is read: enough to refuse it unread.

#include <cstdint>

namespace wm {

struct FileFacts {
    bool plain_disk_file = false;  // not a pipe, a device or a folder, any of which may block a read
    std::uint64_t size = 0;
};

}  // namespace wm
