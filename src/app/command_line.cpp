#include "app/command_line.h"

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/utf8_path.h"

namespace {

constexpr const char* usage_text =
    "Usage: blokit [--replay FILE]\n"
    "  --replay FILE  watch the replay of a game, then play on\n"
    "                 (Esc stops it, P pauses it, holding Tab doubles its speed)\n"
    "  --help         show this list\n";

std::string absolute_path(const char* path) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(platform::utf8_path(path), error);
    return error ? path : platform::utf8_text(absolute);
}

} // namespace

CommandLine parse_command_line(int argc, const char* const* argv) {
    CommandLine options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help")
            options.help = true;
        else if (argument == "--replay" && i + 1 < argc && !options.replay_file)
            options.replay_file = absolute_path(argv[++i]);
        else
            options.wrong = true;
    }
    return options;
}

int print_usage(const CommandLine& options) {
    std::fputs(usage_text, options.help ? stdout : stderr);
    return options.help ? 0 : 2;
}
