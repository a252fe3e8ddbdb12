#pragma once

// A UDP socket for network play: datagrams to and from IPv4 addresses,
// never blocking. The game sees addresses and bytes, never the system's
// socket.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

struct UdpAddress {
    std::uint32_t ipv4 = 0; // in host byte order: 127.0.0.1 is 0x7F000001
    std::uint16_t port = 0;

    bool operator==(const UdpAddress&) const = default;
};

enum class UdpResult { Ok, Empty, Failed };

class UdpSocket {
  public:
    UdpSocket() = default;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    ~UdpSocket() { close(); }

    // Binds to `port` on every address of this machine (0: a free port the
    // system picks). False when the port is taken or no socket can be made.
    bool open(std::uint16_t port);
    // The port it is bound to.
    std::uint16_t local_port() const;
    // Sends one datagram; false when the system refused it (a full buffer
    // counts as lost, as on the way).
    bool send_to(const UdpAddress& to, std::span<const std::uint8_t> bytes);
    // Takes one waiting datagram into `buffer`: Ok with its size and sender,
    // Empty when none waits. A datagram larger than the buffer is dropped.
    UdpResult receive_from(UdpAddress& from, std::span<std::uint8_t> buffer, std::size_t& size);
    void close();

  private:
    std::intptr_t handle_ = -1;
};

// The IPv4 address of a name or a dotted address; false when none is known.
bool resolve_host(const std::string& name, std::uint32_t& ipv4);

// This machine's IPv4 addresses other than loopback, as text.
std::vector<std::string> local_addresses();

// "a.b.c.d" of an address in host byte order.
std::string ipv4_text(std::uint32_t ipv4);

} // namespace platform
