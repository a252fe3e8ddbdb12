#include "platform/win32/program.h"

#include <cstdlib>

// The game's entry with the program's arguments, above the platform layer.
int run_with_arguments(int argc, const char* const* argv, int show_command);

namespace win32 {

int run_program(int show_command) {
    return run_with_arguments(__argc, __argv, show_command);
}

} // namespace win32
