#pragma once

namespace win32 {

// Runs the game's own entry function, which shares its name with the
// system's entry point and so cannot be seen beside the system's headers.
int run_program(int show_command);

} // namespace win32
