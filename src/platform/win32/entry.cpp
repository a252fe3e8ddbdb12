#include "platform/win32/backend.h"

// The program's own start, above the platform layer (app/program_start.h).
int start_program(int show_command);

// The system starts the program here; it takes no arguments. The wide entry
// point, because the narrow one's name is the game's own WinMain, which the
// compiler gives the same unadorned symbol.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show_command) {
    win32::backend().instance = instance;
    // Waits and timers to the millisecond for the program's life: without
    // this, Windows 10 and later round every short wait up to 15.6 ms and the
    // game's 26 ms tick comes every 31 ms.
    timeBeginPeriod(1);
    const int exit_code = start_program(show_command);
    timeEndPeriod(1);
    return exit_code;
}
