#include "app/command_line.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/utf8_path.h"

namespace {

constexpr const char* usage_text =
    "Usage: blokit [--replay FILE | --host [PORT] [--blob] | --join HOST[:PORT]]\n"
    "  --replay FILE       watch the replay of a game, then play on\n"
    "                      (Esc stops it, P pauses it, holding Tab doubles its speed)\n"
    "  --host [PORT]       wait for a player on another machine to join a two-player\n"
    "                      game over the network (UDP port 24680 unless given)\n"
    "  --blob              the host's games are in the blob mode\n"
    "  --join HOST[:PORT]  join the game of the host with this name or address\n"
    "  --help              show this list\n";

std::string absolute_path(const char* path) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(platform::utf8_path(path), error);
    return error ? path : platform::utf8_text(absolute);
}

// A port number from 1 to 65535, digits only.
bool parse_port(std::string_view text, std::uint16_t& port) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

// HOST or HOST:PORT.
bool parse_join(std::string_view text, NetworkRequest& request) {
    const std::size_t colon = text.rfind(':');
    request.host_name = std::string(text.substr(0, colon));
    return !request.host_name.empty() &&
           (colon == std::string_view::npos || parse_port(text.substr(colon + 1), request.port));
}

// One network option at argv[i]; moves i past a value it takes.
bool parse_network_option(int argc, const char* const* argv, int& i, NetworkRequest& request) {
    const std::string_view argument = argv[i];
    if (argument == "--blob") {
        request.mode = GameMode::Blob;
        return true;
    }
    if (argument == "--host") {
        request.host = true;
        return i + 1 >= argc || argv[i + 1][0] == '-' || parse_port(argv[++i], request.port);
    }
    return argument == "--join" && i + 1 < argc && parse_join(argv[++i], request);
}

// Host or join, not both; the blob mode is the host's to choose.
bool network_request_sound(const NetworkRequest& request) {
    return request.host != !request.host_name.empty() &&
           (request.host || request.mode == GameMode::Blokit);
}

} // namespace

CommandLine parse_command_line(int argc, const char* const* argv) {
    CommandLine options;
    NetworkRequest network;
    bool networked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help")
            options.help = true;
        else if (argument == "--replay" && i + 1 < argc && !options.replay_file)
            options.replay_file = absolute_path(argv[++i]);
        else if (argument.starts_with("--") && parse_network_option(argc, argv, i, network))
            networked = true;
        else
            options.wrong = true;
    }
    if (networked && network_request_sound(network) && !options.replay_file)
        options.network = network;
    else if (networked)
        options.wrong = true;
    return options;
}

int print_usage(const CommandLine& options) {
    std::fputs(usage_text, options.help ? stdout : stderr);
    return options.help ? 0 : 2;
}
