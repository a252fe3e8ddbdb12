#pragma once

// What the program does once the system has started it: it reads its
// options (printing them for --help or a wrong one), finds its data and the
// place of the files it writes, then runs WinMain with the show command it
// was given. Both systems' entry points come here; `argv` is in UTF-8.
int start_program(int argc, const char* const* argv, int show_command);
