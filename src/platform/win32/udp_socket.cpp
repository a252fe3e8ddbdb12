#include "platform/udp_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace platform {

namespace {

// Winsock is started once for the life of the program; Windows ends it with
// the process.
bool winsock_started() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

sockaddr_in socket_address(const UdpAddress& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address.ipv4);
    result.sin_port = htons(address.port);
    return result;
}

SOCKET socket_of(std::intptr_t handle) {
    return static_cast<SOCKET>(handle);
}

// The first IPv4 address getaddrinfo gives for `name`.
bool first_ipv4(const char* name, std::uint32_t& ipv4) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    ipv4 = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return true;
}

} // namespace

bool UdpSocket::open(std::uint16_t port) {
    close();
    if (!winsock_started())
        return false;
    const SOCKET handle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (handle == INVALID_SOCKET)
        return false;
    u_long non_blocking = 1;
    const sockaddr_in address = socket_address({INADDR_ANY, port});
    if (ioctlsocket(handle, FIONBIO, &non_blocking) != 0 ||
        bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(handle);
        return false;
    }
    handle_ = static_cast<std::intptr_t>(handle);
    return true;
}

std::uint16_t UdpSocket::local_port() const {
    sockaddr_in address{};
    int length = sizeof address;
    if (handle_ < 0 ||
        getsockname(socket_of(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool UdpSocket::send_to(const UdpAddress& to, std::span<const std::uint8_t> bytes) {
    const sockaddr_in address = socket_address(to);
    return handle_ >= 0 &&
           sendto(socket_of(handle_), reinterpret_cast<const char*>(bytes.data()),
                  static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == static_cast<int>(bytes.size());
}

UdpResult UdpSocket::receive_from(UdpAddress& from, std::span<std::uint8_t> buffer,
                                  std::size_t& size) {
    if (handle_ < 0)
        return UdpResult::Failed;
    for (;;) {
        sockaddr_in address{};
        int length = sizeof address;
        const int received = recvfrom(socket_of(handle_), reinterpret_cast<char*>(buffer.data()),
                                      static_cast<int>(buffer.size()), 0,
                                      reinterpret_cast<sockaddr*>(&address), &length);
        if (received == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            // A datagram too large for the buffer is cut and dropped; an
            // earlier send that met no listener is reported on a later
            // receive. Neither ends the socket.
            if (error == WSAEMSGSIZE || error == WSAECONNRESET)
                continue;
            return error == WSAEWOULDBLOCK || error == WSAEINTR ? UdpResult::Empty
                                                                : UdpResult::Failed;
        }
        if (length != sizeof address || address.sin_family != AF_INET)
            continue;
        from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
        size = static_cast<std::size_t>(received);
        return UdpResult::Ok;
    }
}

void UdpSocket::close() {
    if (handle_ >= 0)
        closesocket(socket_of(handle_));
    handle_ = -1;
}

bool resolve_host(const std::string& name, std::uint32_t& ipv4) {
    return winsock_started() && first_ipv4(name.c_str(), ipv4);
}

std::vector<std::string> local_addresses() {
    std::vector<std::string> result;
    char name[256] = {};
    if (!winsock_started() || gethostname(name, sizeof name - 1) != 0)
        return result;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0)
        return result;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        const std::uint32_t ipv4 =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
        if (ipv4 >> 24 != 127)
            result.push_back(ipv4_text(ipv4));
    }
    freeaddrinfo(found);
    return result;
}

} // namespace platform
