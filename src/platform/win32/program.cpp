#include "platform/win32/program.h"

// The game's entry function, above the platform layer.
int WinMain(int show_command);

namespace win32 {

int run_program(int show_command) {
    return WinMain(show_command);
}

} // namespace win32
