// A UDP relay between a host and one joiner on this machine, for the
// network game's end-to-end run: what passes is delayed and some of it
// dropped, as on a long way over the internet. It ends by itself.
//
// Usage: blokit_udp_relay LISTEN_PORT HOST_PORT DELAY_MS DROP_PERCENT SECONDS
// The joiner sends to LISTEN_PORT on 127.0.0.1; the host listens on
// HOST_PORT there.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <thread>
#include <vector>

#include "platform/udp_socket.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t loopback = 0x7F000001;

struct Held {
    Clock::time_point due;
    platform::UdpAddress to;
    std::vector<std::uint8_t> bytes;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs("usage: blokit_udp_relay LISTEN_PORT HOST_PORT DELAY_MS DROP_PERCENT SECONDS\n",
                   stderr);
        return 2;
    }
    const auto listen_port = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const platform::UdpAddress host{loopback, static_cast<std::uint16_t>(std::atoi(argv[2]))};
    const std::chrono::milliseconds delay(std::atoi(argv[3]));
    const int drop_percent = std::atoi(argv[4]);
    const Clock::time_point end = Clock::now() + std::chrono::seconds(std::atoi(argv[5]));

    platform::UdpSocket socket;
    if (!socket.open(listen_port)) {
        std::fprintf(stderr, "blokit_udp_relay: port %u cannot be opened\n", listen_port);
        return 1;
    }
    std::mt19937 random(26);
    std::deque<Held> held;
    platform::UdpAddress joiner;
    std::uint64_t passed = 0;
    std::uint64_t dropped = 0;
    while (Clock::now() < end) {
        std::uint8_t buffer[2048];
        std::size_t size = 0;
        platform::UdpAddress from;
        while (socket.receive_from(from, buffer, size) == platform::UdpResult::Ok) {
            if (!(from == host))
                joiner = from;
            if (static_cast<int>(random() % 100) < drop_percent) {
                ++dropped;
                continue;
            }
            held.push_back({Clock::now() + delay, from == host ? joiner : host,
                            std::vector<std::uint8_t>(buffer, buffer + size)});
        }
        while (!held.empty() && held.front().due <= Clock::now()) {
            socket.send_to(held.front().to, held.front().bytes);
            held.pop_front();
            ++passed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf("relay: %llu packets passed, %llu dropped\n",
                static_cast<unsigned long long>(passed), static_cast<unsigned long long>(dropped));
    return 0;
}
