#include "app/data_location.h"
#include "app/win_main.h"
#include "platform/user_paths.h"

// The program takes no arguments. Installed, it finds its data at
// BLOKIT_DATA_FROM_PROGRAM, relative to the directory of its executable.
int main() {
    const std::string program_directory = platform::executable_directory();
    if (!program_directory.empty())
        choose_data_location(program_directory, BLOKIT_DATA_FROM_PROGRAM);
    return WinMain();
}
