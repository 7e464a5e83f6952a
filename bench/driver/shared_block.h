#pragma once
// A block of shared memory the driver makes for a process it starts, and the event that process
// sets when something the driver waits for has happened.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "driver/handle.h"

namespace bench {

template <class Block>
class SharedBlock {
public:
    SharedBlock(std::wstring name, const wchar_t* event_suffix) : name_(std::move(name)) {
        mapping_ = e2e::UniqueHandle(
            CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Block), name_.c_str()));
        if (!mapping_) throw std::runtime_error("CreateFileMappingW failed");
        view_ = static_cast<Block*>(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)));
        if (!view_) throw std::runtime_error("MapViewOfFile failed");
        event_ = e2e::UniqueHandle(CreateEventW(nullptr, FALSE, FALSE, (name_ + event_suffix).c_str()));
        if (!event_) throw std::runtime_error("CreateEventW failed");
    }
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;
    ~SharedBlock() { UnmapViewOfFile(view_); }

    const std::wstring& name() const { return name_; }
    Block* operator->() const { return view_; }

    // Waits until `condition` holds, woken by the event (and every 100 ms, in case a signal
    // was consumed by an earlier wait); false after the timeout.
    template <class Condition>
    bool wait_until(Condition&& condition, std::chrono::milliseconds timeout) const {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!condition()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            WaitForSingleObject(event_.get(), static_cast<DWORD>(std::min<long long>(left.count(), 100)));
        }
        return true;
    }

private:
    std::wstring name_;
    e2e::UniqueHandle mapping_;
    Block* view_ = nullptr;
    e2e::UniqueHandle event_;
};

}  // namespace bench
