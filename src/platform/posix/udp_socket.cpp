#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

sockaddr_in socket_address(const UdpAddress& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address.ipv4);
    result.sin_port = htons(address.port);
    return result;
}

} // namespace

bool UdpSocket::open(std::uint16_t port) {
    close();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const sockaddr_in address = socket_address({INADDR_ANY, port});
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

std::uint16_t UdpSocket::local_port() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (handle_ < 0 ||
        getsockname(static_cast<int>(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool UdpSocket::send_to(const UdpAddress& to, std::span<const std::uint8_t> bytes) {
    const sockaddr_in address = socket_address(to);
    return handle_ >= 0 && sendto(static_cast<int>(handle_), bytes.data(), bytes.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&address),
                                  sizeof address) == static_cast<ssize_t>(bytes.size());
}

UdpResult UdpSocket::receive_from(UdpAddress& from, std::span<std::uint8_t> buffer,
                                  std::size_t& size) {
    if (handle_ < 0)
        return UdpResult::Failed;
    for (;;) {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        msghdr header{};
        iovec part{buffer.data(), buffer.size()};
        header.msg_name = &address;
        header.msg_namelen = length;
        header.msg_iov = &part;
        header.msg_iovlen = 1;
        const ssize_t received = recvmsg(static_cast<int>(handle_), &header, 0);
        if (received < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? UdpResult::Empty
                                                                             : UdpResult::Failed;
        if ((header.msg_flags & MSG_TRUNC) != 0 || header.msg_namelen != length ||
            address.sin_family != AF_INET)
            continue; // too large for any message of ours, or not from IPv4
        from = {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
        size = static_cast<std::size_t>(received);
        return UdpResult::Ok;
    }
}

void UdpSocket::close() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

bool resolve_host(const std::string& name, std::uint32_t& ipv4) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    ipv4 = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return true;
}

std::vector<std::string> local_addresses() {
    std::vector<std::string> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const std::uint32_t ipv4 =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        if (ipv4 >> 24 != 127)
            result.push_back(ipv4_text(ipv4));
    }
    freeifaddrs(list);
    return result;
}

} // namespace platform
