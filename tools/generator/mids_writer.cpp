#include "mids_writer.h"

#include <algorithm>
#include <string_view>

namespace {

// Stored without stream identifier an event takes 8 bytes; loaded, 12.
constexpr std::size_t stored_event_bytes = 8;
constexpr std::size_t loaded_event_bytes = 12;
constexpr std::size_t events_per_block = mids_buffer_bytes / loaded_event_bytes;
constexpr std::uint32_t format_no_stream_id = 1;

void put_text(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(std::uint8_t(value >> (8 * i)));
    }
}

} // namespace

std::vector<std::uint8_t> encode_mids(const std::vector<StreamEvent>& events,
                                      std::uint32_t ticks_per_quarter) {
    std::vector<std::uint8_t> blocks;
    std::uint32_t block_count = 0;
    std::uint32_t previous_tick = 0;
    for (std::size_t first = 0; first < events.size(); first += events_per_block) {
        const std::size_t last = std::min(events.size(), first + events_per_block);
        put_u32(blocks, events[first].tick);
        put_u32(blocks, std::uint32_t((last - first) * stored_event_bytes));
        for (std::size_t i = first; i < last; ++i) {
            put_u32(blocks, events[i].tick - previous_tick);
            put_u32(blocks, events[i].event);
            previous_tick = events[i].tick;
        }
        ++block_count;
    }
    std::vector<std::uint8_t> out;
    put_text(out, "RIFF");
    put_u32(out, std::uint32_t(4 + (8 + 12) + (8 + 4 + blocks.size())));
    put_text(out, "MIDS");
    put_text(out, "fmt ");
    put_u32(out, 12);
    put_u32(out, ticks_per_quarter);
    put_u32(out, mids_buffer_bytes);
    put_u32(out, format_no_stream_id);
    put_text(out, "data");
    put_u32(out, std::uint32_t(4 + blocks.size()));
    put_u32(out, block_count);
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}
