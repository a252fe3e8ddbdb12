#pragma once

// The program's options: `--replay FILE` watches a replay before the title
// screen, `--host [PORT]` and `--join HOST[:PORT]` (with `--blob` for the
// blob mode) start a network game, `--help` lists the options.

#include <optional>
#include <string>

#include "app/network_link.h"

struct CommandLine {
    bool help = false;
    // An option the program does not know, or one without its value.
    bool wrong = false;
    // Made absolute, so that it names the same file wherever the program
    // finds its data.
    std::optional<std::string> replay_file;
    std::optional<NetworkRequest> network;
};

CommandLine parse_command_line(int argc, const char* const* argv);

// Prints the options for --help (the result is 0) or for a wrong option (on
// the error stream; the result is 2).
int print_usage(const CommandLine& options);
