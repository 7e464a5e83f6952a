#pragma once
// The record of what the shell asked of the runtime, read by the tests while the shell runs.
// One line per event: "<view>\t<event>\t<payload>\n", UTF-8, the payload escaped (PROTOCOL.md);
// and the benchmark's counters, which cost no write.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "counters.h"
#include "handles.h"

namespace standin {

class Log {
public:
    // The file named by the variable; without it, a log that records nothing. The runtime's log
    // also carries the benchmark's counters; without them, counters that count nothing.
    static std::shared_ptr<Log> from_environment(const wchar_t* variable = L"STANDIN_LOG",
                                                 std::unique_ptr<Counters> counters = nullptr);

    Log(UniqueHandle file, std::unique_ptr<Counters> counters)
        : file_(std::move(file)), counters_(counters ? std::move(counters) : std::make_unique<Counters>()) {}
    void write(std::string_view view, std::string_view event, std::string_view payload) const;
    const Counters& counters() const noexcept { return *counters_; }

private:
    UniqueHandle file_;
    std::unique_ptr<Counters> counters_;
};

// The log as one web view (or the environment) writes to it: every line carries its view.
class Reporter {
public:
    Reporter(std::shared_ptr<Log> log, std::string view)
        : log_(std::move(log)), view_(std::move(view)) {}

    // Lines of the environment carry "-".
    static Reporter for_environment(std::shared_ptr<Log> log) { return {std::move(log), "-"}; }
    // The view of a controller is its parent window, in hex.
    static std::string view_of(HWND parent);

    void write(std::string_view event, std::string_view payload = {}) const;
    void write(std::string_view event, std::wstring_view payload) const;
    const Counters& counters() const noexcept { return log_->counters(); }
    // For a method the shell is not expected to call: leaves a trace and answers E_NOTIMPL.
    HRESULT unimplemented(std::string_view method) const;

private:
    std::shared_ptr<Log> log_;
    std::string view_;
};

}  // namespace standin
