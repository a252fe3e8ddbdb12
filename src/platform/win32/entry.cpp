#include "platform/win32/backend.h"

#include <cstdlib>
#include <string>
#include <vector>

// The program's own start, above the platform layer (app/program_start.h).
int start_program(int argc, const char* const* argv, int show_command);

namespace {

std::string utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string narrow(static_cast<std::size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

} // namespace

// The system starts the program here. The wide entry point, because the
// narrow one's name is the game's own WinMain, which the compiler gives the
// same unadorned symbol; the arguments go on in UTF-8.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show_command) {
    win32::backend().instance = instance;
    // Waits and timers to the millisecond for the program's life: without
    // this, Windows 10 and later round every short wait up to 15.6 ms and the
    // game's 26 ms tick comes every 31 ms.
    timeBeginPeriod(1);
    std::vector<std::string> arguments;
    for (int i = 0; i < __argc && __wargv; ++i)
        arguments.push_back(utf8(__wargv[i]));
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    const int exit_code = start_program(static_cast<int>(argv.size()), argv.data(), show_command);
    timeEndPeriod(1);
    return exit_code;
}
