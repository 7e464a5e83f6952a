#include "log.h"

#include "text.h"

namespace standin {

std::shared_ptr<Log> Log::from_environment(const wchar_t* variable, std::unique_ptr<Counters> counters) {
    UniqueHandle file;
    if (const auto path = environment_variable(variable)) {
        // Appending writes land whole at the end even when another process of the shell (a
        // relaunch after an update) writes to the same file; the tests read it meanwhile.
        file = UniqueHandle(CreateFileW(path->c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return std::make_shared<Log>(std::move(file), std::move(counters));
}

void Log::write(std::string_view view, std::string_view event, std::string_view payload) const {
    if (!file_.valid()) return;
    std::string line;
    line.reserve(view.size() + event.size() + payload.size() + 8);
    line.append(view).append(1, '\t').append(event).append(1, '\t');
    line.append(escape_field(payload)).append(1, '\n');
    // One unbuffered write per line: nothing waits in a buffer when the shell is killed. A line
    // that cannot be written is lost; the test that needs it fails on its absence.
    DWORD written = 0;
    (void)WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string Reporter::view_of(HWND parent) {
    return hex(reinterpret_cast<std::uintptr_t>(parent));
}

void Reporter::write(std::string_view event, std::string_view payload) const {
    log_->write(view_, event, payload);
}

void Reporter::write(std::string_view event, std::wstring_view payload) const {
    log_->write(view_, event, to_utf8(payload));
}

HRESULT Reporter::unimplemented(std::string_view method) const {
    write("unimplemented", method);
    return E_NOTIMPL;
}

}  // namespace standin
