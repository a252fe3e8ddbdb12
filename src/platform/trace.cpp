#include "platform/trace.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

// Polls of one key closer together than this are one burst; only the
// burst's first poll is written unless the state changes.
constexpr std::int64_t burst_gap_us = 5000;

std::FILE* trace_file() {
    static std::FILE* const file = [] {
        const char* path = std::getenv("BLOKIT_TRACE");
        // Binary: the same plain line ends on every system.
        std::FILE* opened = path && *path ? std::fopen(path, "wb") : nullptr;
        // Written out at presents (which a measurement may wait for) and
        // when the program ends, not at every line.
        if (opened)
            std::setvbuf(opened, nullptr, _IOFBF, 1 << 20);
        return opened;
    }();
    return file;
}

std::int64_t now_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

void write_line(const char* kind, int detail, int value) {
    std::fprintf(trace_file(), "%s %lld %d %d\n", kind, static_cast<long long>(now_us()), detail,
                 value);
}

} // namespace

void trace_present(bool lit) {
    if (!trace_file())
        return;
    write_line("present", 0, lit ? 1 : 0);
    std::fflush(trace_file());
}

void trace_key_poll(int virtual_key, bool down) {
    if (!trace_file() || virtual_key < 0 || virtual_key > 255)
        return;
    struct Seen {
        std::int64_t at = 0;
        bool down = false;
    };
    static std::array<Seen, 256> seen{};
    Seen& key = seen[static_cast<std::size_t>(virtual_key)];
    const std::int64_t now = now_us();
    if (down != key.down || now - key.at >= burst_gap_us)
        write_line("key", virtual_key, down ? 1 : 0);
    key = {now, down};
}

} // namespace platform
