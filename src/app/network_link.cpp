#include "app/network_link.h"

#include <random>
#include <vector>

#include "app/assets.h"
#include "app/screen_common.h"
#include "game/replay.h"
#include "game/session.h"
#include "gfx/display.h"
#include "gfx/error_box.h"
#include "gfx/palette.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

namespace {

// The joiner says hello this often, and gives up after this long.
constexpr std::uint32_t hello_interval_ms = 250;
constexpr std::uint32_t join_patience_ms = 15000;
constexpr int screen_black = 0;

std::uint64_t data_hash() {
    return rules_fingerprint();
}

// The clock is mixed in, as a runtime may give the same "random" numbers in
// every run.
std::uint32_t random_number() {
    std::random_device device;
    return device() ^ platform::time_ms() * 2654435761u;
}

// The waiting screen: a title line and the lines under it, centred.
void draw_waiting_screen(const char* title, const std::vector<std::string>& lines) {
    set_palette(game_palette);
    clear_back_buffer(screen_black);
    const int line_height = 2 * game_font.glyph_height;
    int y = display.screen_height / 3;
    draw_centred_text(game_font, y, title);
    for (const std::string& line : lines)
        draw_centred_text(game_font, y += line_height, line.c_str());
    draw_centred_text(game_font, display.screen_height - 2 * line_height,
                      use_english ? "ESC GIVES UP" : "ESC BRICHT AB");
    present_frame();
}

std::vector<std::string> host_lines(std::uint16_t port) {
    std::vector<std::string> lines{"PORT " + std::to_string(port)};
    for (const std::string& address : platform::local_addresses())
        lines.push_back(address);
    return lines;
}

// One pass of a waiting screen's loop: false once Esc or a quit ends it.
bool keep_waiting() {
    if (pump_message(platform::time_ms() + 10))
        return !quit_requested;
    if (key_down(platform::vk::Escape)) {
        wait_keys_released({platform::vk::Escape});
        return false;
    }
    platform::idle_until(platform::time_ms() + 10);
    return !quit_requested;
}

void refuse(NetworkLink& link, const platform::UdpAddress& to, RefuseReason reason) {
    link.socket.send_to(to, encode_message(Refuse{0, reason}));
}

Welcome welcome_of(const NetworkLink& link) {
    return Welcome{data_hash(), link.session, link.mode, link.seed};
}

// The host's answer to a Hello from `from`: true when it takes the player.
bool answer_hello(NetworkLink& link, const platform::UdpAddress& from, DecodeResult result,
                  const NetMessage& message) {
    if (result == DecodeResult::OtherVersion) {
        refuse(link, from, RefuseReason::OtherVersion);
        return false;
    }
    const auto* hello = std::get_if<Hello>(&message);
    if (result != DecodeResult::Ok || !hello)
        return false;
    if (hello->data_hash != data_hash()) {
        refuse(link, from, RefuseReason::OtherGameData);
        return false;
    }
    link.peer = from;
    link.session = hello->session;
    link.socket.send_to(from, encode_message(welcome_of(link)));
    return true;
}

bool cannot_open(std::uint16_t port) {
    const std::string number = std::to_string(port);
    network_message(("UDP port " + number + " cannot be opened.").c_str(),
                    ("Der UDP-Port " + number + " kann nicht geoeffnet werden.").c_str());
    return false;
}

void say_refused(RefuseReason reason) {
    switch (reason) {
    case RefuseReason::OtherVersion:
        network_message("The other Blokit speaks another version of the network protocol.",
                        "Das andere Blokit spricht eine andere Version des Netzwerkprotokolls.");
        break;
    case RefuseReason::OtherGameData:
        network_message("The other Blokit has other game data.",
                        "Das andere Blokit hat andere Spieldaten.");
        break;
    default:
        network_message("The host already has a player.",
                        "Der Gastgeber hat schon einen Mitspieler.");
        break;
    }
}

enum class Answer { None, Welcomed, Refused };

// The joiner's reading of a packet from the host.
Answer take_answer(NetworkLink& link, DecodeResult result, const NetMessage& message) {
    if (result == DecodeResult::OtherVersion) {
        say_refused(RefuseReason::OtherVersion);
        return Answer::Refused;
    }
    if (result != DecodeResult::Ok)
        return Answer::None;
    if (const auto* refusal = std::get_if<Refuse>(&message)) {
        say_refused(refusal->reason);
        return Answer::Refused;
    }
    const auto* welcome = std::get_if<Welcome>(&message);
    if (!welcome || welcome->session != link.session)
        return Answer::None;
    if (welcome->data_hash != data_hash()) {
        say_refused(RefuseReason::OtherGameData);
        return Answer::Refused;
    }
    link.mode = welcome->mode;
    link.seed = welcome->seed;
    return Answer::Welcomed;
}

// One datagram of any sender.
bool receive_any(NetworkLink& link, platform::UdpAddress& from, DecodeResult& result,
                 NetMessage& message) {
    std::uint8_t buffer[max_packet_bytes];
    std::size_t size = 0;
    if (link.socket.receive_from(from, buffer, size) != platform::UdpResult::Ok)
        return false;
    result = decode_message(std::span(buffer, size), message);
    return true;
}

} // namespace

void network_message(const char* english, const char* german) {
    error_box(use_english ? english : german,
              use_english ? "Blokit network game" : "Blokit-Netzwerkspiel");
}

bool host_network_game(const NetworkRequest& request, NetworkLink& link) {
    if (!link.socket.open(request.port))
        return cannot_open(request.port);
    link.local_side = 0;
    link.mode = request.mode;
    link.seed = random_number();
    draw_waiting_screen(use_english ? "WAITING FOR A PLAYER" : "WARTE AUF MITSPIELER",
                        host_lines(request.port));
    while (keep_waiting()) {
        platform::UdpAddress from;
        DecodeResult result;
        NetMessage message;
        while (receive_any(link, from, result, message))
            if (answer_hello(link, from, result, message))
                return true;
    }
    return false;
}

bool join_network_game(const NetworkRequest& request, NetworkLink& link) {
    std::uint32_t ipv4 = 0;
    if (!platform::resolve_host(request.host_name, ipv4)) {
        network_message(("The host " + request.host_name + " is not known.").c_str(),
                        ("Der Rechner " + request.host_name + " ist unbekannt.").c_str());
        return false;
    }
    if (!link.socket.open(0))
        return cannot_open(0);
    link.peer = {ipv4, request.port};
    link.local_side = 1;
    link.session = random_number();
    const std::string target = platform::ipv4_text(ipv4) + ":" + std::to_string(request.port);
    draw_waiting_screen(use_english ? "CONNECTING TO" : "VERBINDE MIT", {target});
    const std::uint32_t start = platform::time_ms();
    std::uint32_t last_hello = start - hello_interval_ms;
    while (keep_waiting() && platform::time_ms() - start < join_patience_ms) {
        if (platform::time_ms() - last_hello >= hello_interval_ms) {
            last_hello = platform::time_ms();
            link.send(encode_message(Hello{data_hash(), link.session}));
        }
        platform::UdpAddress from;
        DecodeResult result;
        NetMessage message;
        while (receive_any(link, from, result, message)) {
            const Answer answer =
                from == link.peer ? take_answer(link, result, message) : Answer::None;
            if (answer != Answer::None)
                return answer == Answer::Welcomed;
        }
    }
    if (platform::time_ms() - start >= join_patience_ms)
        network_message(("No Blokit answered at " + target + ".").c_str(),
                        ("Unter " + target + " hat kein Blokit geantwortet.").c_str());
    return false;
}

LinkReceive receive_from_peer(NetworkLink& link, NetMessage& message) {
    platform::UdpAddress from;
    DecodeResult result;
    while (receive_any(link, from, result, message)) {
        if (!(from == link.peer)) {
            if (result == DecodeResult::Ok && std::holds_alternative<Hello>(message))
                refuse(link, from, RefuseReason::Busy);
            continue;
        }
        if (result != DecodeResult::Ok)
            return LinkReceive::Malformed;
        if (const auto* hello = std::get_if<Hello>(&message);
            hello && link.local_side == 0 && hello->session == link.session) {
            link.send(encode_message(welcome_of(link)));
            continue;
        }
        return LinkReceive::Message;
    }
    return LinkReceive::Nothing;
}
