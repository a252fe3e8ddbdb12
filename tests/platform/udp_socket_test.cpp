// The UDP seam on loopback: datagrams come whole with their sender, a socket
// with nothing waiting says so at once, and a datagram too large for the
// buffer is dropped, not cut.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/udp_socket.h"

namespace {

constexpr std::uint32_t loopback = 0x7F000001;

// Receives, retrying for a moment: loopback delivers at once, but not
// within the very call that sent.
platform::UdpResult receive_soon(platform::UdpSocket& socket, platform::UdpAddress& from,
                                 std::span<std::uint8_t> buffer, std::size_t& size) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const platform::UdpResult result = socket.receive_from(from, buffer, size);
        if (result != platform::UdpResult::Empty)
            return result;
    }
    return platform::UdpResult::Empty;
}

TEST(UdpSocket, CarriesDatagramsBetweenTwoSocketsOnLoopback) {
    platform::UdpSocket a;
    platform::UdpSocket b;
    ASSERT_TRUE(a.open(0));
    ASSERT_TRUE(b.open(0));
    ASSERT_NE(a.local_port(), 0);

    std::array<std::uint8_t, 64> buffer{};
    std::size_t size = 0;
    platform::UdpAddress from;
    EXPECT_EQ(b.receive_from(from, buffer, size), platform::UdpResult::Empty);

    const std::vector<std::uint8_t> big(200, 7);
    const std::vector<std::uint8_t> message{1, 2, 3, 250};
    ASSERT_TRUE(a.send_to({loopback, b.local_port()}, big));
    ASSERT_TRUE(a.send_to({loopback, b.local_port()}, message));
    // The datagram larger than the buffer is skipped; the next one comes.
    ASSERT_EQ(receive_soon(b, from, buffer, size), platform::UdpResult::Ok);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + size), message);
    EXPECT_EQ(from, (platform::UdpAddress{loopback, a.local_port()}));

    // A port in use cannot be opened a second time.
    platform::UdpSocket c;
    EXPECT_FALSE(c.open(b.local_port()));
    b.close();
    EXPECT_EQ(b.receive_from(from, buffer, size), platform::UdpResult::Failed);
}

TEST(UdpSocket, ResolvesDottedAddressesAndWritesThemBack) {
    std::uint32_t ipv4 = 0;
    ASSERT_TRUE(platform::resolve_host("127.0.0.1", ipv4));
    EXPECT_EQ(ipv4, loopback);
    EXPECT_EQ(platform::ipv4_text(0xC0A80A01), "192.168.10.1");
}

} // namespace
