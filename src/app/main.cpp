#include "app/command_line.h"
#include "app/data_location.h"
#include "app/win_main.h"
#include "platform/user_paths.h"

// Installed, the program finds its data at BLOKIT_DATA_FROM_PROGRAM,
// relative to the directory of its executable.
int main(int argc, char** argv) {
    const CommandLine options = parse_command_line(argc, argv);
    if (options.help || options.wrong)
        return print_usage(options);
    const std::string program_directory = platform::executable_directory();
    if (!program_directory.empty())
        choose_data_location(std::filesystem::path(program_directory) / BLOKIT_DATA_FROM_PROGRAM);
    return WinMain(platform::show_normal, options.replay_file, options.network);
}
