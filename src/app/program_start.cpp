#include "app/program_start.h"

#include "app/command_line.h"
#include "app/data_location.h"
#include "app/win_main.h"
#include "platform/user_paths.h"
#include "platform/utf8_path.h"

// Installed, the program finds its data at BLOKIT_DATA_FROM_PROGRAM,
// relative to the directory of its executable.
int start_program(int argc, const char* const* argv, int show_command) {
    const CommandLine options = parse_command_line(argc, argv);
    if (options.help || options.wrong)
        return print_usage(options);
    const std::string program_directory = platform::executable_directory();
    if (!program_directory.empty())
        choose_data_location(platform::utf8_path(program_directory), BLOKIT_DATA_FROM_PROGRAM);
    return WinMain(show_command, options.replay_file, options.network);
}
