#pragma once
// Starting at sign-in, in the user's registry.

namespace wm {

// Whether the program starts at sign-in. A Run value naming another executable (the program was
// moved) is rewritten to name this one; otherwise the registry is only read.
bool refresh_autostart();

// Writes the Run value with this executable's path, turning Task Manager's switch back on when
// the user had turned it off, or removes the value; whether the program starts at sign-in, read
// back afterwards.
bool set_autostart(bool on);

// Whether the program starts at sign-in, as the registry says now; nothing is written.
bool read_autostart();

}  // namespace wm
