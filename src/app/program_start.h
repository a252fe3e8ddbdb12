#pragma once

// What the program does once the system has started it: it finds its data
// and the place of the files it writes, then runs WinMain with the show
// command it was given. Both systems' entry points come here.
int start_program(int show_command);
