#pragma once

// The connection of a network game: the socket, the other machine's address
// and what the handshake settled. Host and join show their screens while
// they wait; they return false when the player gave up or the connection
// failed (said in a message box).

#include <cstdint>
#include <string>

#include "game/net_protocol.h"
#include "platform/udp_socket.h"

// What the command line asked for.
struct NetworkRequest {
    bool host = false;
    std::string host_name; // joining: the host's name or address
    std::uint16_t port = default_port;
    GameMode mode = GameMode::Blokit;
};

struct NetworkLink {
    platform::UdpSocket socket;
    platform::UdpAddress peer;
    int local_side = 0; // 0 on the host, 1 on the joiner
    std::uint32_t session = 0;
    GameMode mode = GameMode::Blokit;
    std::uint32_t seed = 0;

    void send(const std::vector<std::uint8_t>& packet) { socket.send_to(peer, packet); }
};

bool host_network_game(const NetworkRequest& request, NetworkLink& link);
bool join_network_game(const NetworkRequest& request, NetworkLink& link);

// What came from the other side: nothing more waiting, a message of this
// protocol, or one that could not be read, which ends the connection.
enum class LinkReceive { Nothing, Message, Malformed };

// The next message from the other machine. Packets from other machines are
// answered (a host is busy) or dropped, and a repeated Hello of the joiner
// is answered with the Welcome again.
LinkReceive receive_from_peer(NetworkLink& link, NetMessage& message);

// A message box of the network game in the player's language.
void network_message(const char* english, const char* german);
