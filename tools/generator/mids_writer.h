#pragma once

#include <cstdint>
#include <vector>

// One event of a MIDI stream at an absolute time in ticks. `event` is the
// stream device's event word: the event type in the top byte (0 a short
// message, 1 a tempo change, 2 a no-op) and its parameter in the low 24
// bits (a short message as status | data1 << 8 | data2 << 16).
struct StreamEvent {
    std::uint32_t tick;
    std::uint32_t event;
};

constexpr std::uint32_t event_short_message = 0x00000000;
constexpr std::uint32_t event_tempo = 0x01000000;
constexpr std::uint32_t event_nop = 0x02000000;

constexpr std::uint32_t short_message(std::uint32_t status, std::uint32_t data1,
                                      std::uint32_t data2) {
    return event_short_message | status | data1 << 8 | data2 << 16;
}

// Capacity of each playback buffer of the file.
constexpr std::uint32_t mids_buffer_bytes = 4096;

// A RIFF "MIDS" file of `events` (sorted by tick) with `ticks_per_quarter`
// as its time division. Events are stored without stream identifiers, in
// blocks that fit the playback buffers once the identifiers are added back.
std::vector<std::uint8_t> encode_mids(const std::vector<StreamEvent>& events,
                                      std::uint32_t ticks_per_quarter);
