#pragma once
// Starting wispermoth.exe with an explicit environment and watching it end.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "driver/handle.h"

namespace e2e {

// An environment block for CreateProcessW, starting from the driver's own environment.
class Environment {
public:
    static Environment inherited();

    void set(const std::wstring& name, std::wstring value);
    void remove(const std::wstring& name);

    // Sorted "name=value\0" entries and the closing "\0", as CreateProcessW expects.
    std::wstring block() const;

private:
    struct NameLess {
        bool operator()(const std::wstring& a, const std::wstring& b) const;
    };
    std::map<std::wstring, std::wstring, NameLess> variables_;
};

// A started process. Dropping one that still runs terminates it, so a failed case leaves
// nothing behind for the next one.
class ChildProcess {
public:
    struct Options {
        std::filesystem::path executable;
        std::wstring arguments = {};  // after the quoted executable and a space; none when empty
        std::filesystem::path working_directory;
        Environment environment;
        std::filesystem::path stdout_file;
        std::filesystem::path stderr_file;
        std::optional<WORD> show_command = {};  // given with STARTF_USESHOWWINDOW, as a shortcut gives it
    };

    // Throws std::runtime_error when the process cannot be started.
    static ChildProcess start(const Options& options);

    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ~ChildProcess();

    DWORD id() const { return id_; }
    // The exit code, or nothing when the process still runs after the timeout.
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout) const;

private:
    ChildProcess(UniqueHandle job, UniqueHandle process, DWORD id)
        : job_(std::move(job)), process_(std::move(process)), id_(id) {}

    UniqueHandle job_;
    UniqueHandle process_;
    DWORD id_ = 0;
};

}  // namespace e2e
