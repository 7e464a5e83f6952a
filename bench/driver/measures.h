#pragma once
// The measurements; each adds its rows and notes to the report. A measurement that cannot
// be made says why in a note instead of a figure.

#include <filesystem>

#include "driver/processes.h"
#include "driver/report.h"

namespace bench {

struct SizeSubjects {
    std::filesystem::path shell;
    std::filesystem::path floor;      // the bare Win32 floor
    std::filesystem::path cpp_floor;  // the bare C++ program
};

void measure_size(const SizeSubjects& subjects, Report& report);
// `folder` is made the process's APPDATA: the shell's own save writes below it.
void measure_state_writes(const std::filesystem::path& folder, int rounds, int moves, Report& report);
void measure_startup(const Paths& paths, int runs, Report& report);
// The shell's start-up steps, each timed in the shell's order (bench/startup_steps.cpp).
void measure_startup_steps(const Paths& paths, int runs, Report& report);
void measure_memory(const Paths& paths, int runs, Report& report);
// One shell and one floor side by side: idle, idle while minimised, 20 windows, and the
// messages the shell's thread takes per page message.
void measure_session(const Paths& paths, Report& report);
void measure_dispatch(const Paths& paths, int rounds, long long messages, Report& report);
// A further window against the first, each from its request to its page shown, one shell a run.
void measure_further_window(const Paths& paths, int runs, Report& report);
// The time the shell spends in the toast classes for a run's first toast and for later ones.
void measure_toasts(const Paths& paths, int runs, Report& report);

}  // namespace bench
