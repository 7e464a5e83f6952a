// The size floor of the C++ runtime: a static program with the shell's toolchain, flags and
// runtime library that uses what any C++ program of this kind uses of it (strings, containers,
// a type-erased callable, exceptions) and nothing of Windows beyond its entry.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> arguments(argv, argv + argc);
    const std::function<std::size_t()> count = [&] { return arguments.size(); };
    try {
        if (count() > 8) throw std::runtime_error("too many arguments");
    } catch (const std::exception&) {
        return 2;
    }
    return arguments.front().empty() ? 1 : 0;
}
