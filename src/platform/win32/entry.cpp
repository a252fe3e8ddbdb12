#include "platform/win32/backend.h"
#include "platform/win32/program.h"

// The system starts the program here.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    win32::backend().instance = instance;
    // Millisecond timer and sleep resolution for the game's waits.
    timeBeginPeriod(1);
    const int exit_code = win32::run_program(show_command);
    timeEndPeriod(1);
    return exit_code;
}
