#pragma once

// Builders for the RIFF files the audio code reads: WAV effects and MIDS
// music, laid out byte by byte so tests can bend every field.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <vector>

namespace riff {

using Bytes = std::vector<std::uint8_t>;

inline void put_u32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void put_u16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void put_tag(Bytes& bytes, std::string_view tag) {
    bytes.insert(bytes.end(), tag.begin(), tag.end());
}

inline void append(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

// A chunk with its size and, when that is odd, the pad byte.
inline Bytes chunk(std::string_view tag, const Bytes& data) {
    Bytes bytes;
    put_tag(bytes, tag);
    put_u32(bytes, static_cast<std::uint32_t>(data.size()));
    append(bytes, data);
    if (data.size() % 2 != 0)
        bytes.push_back(0);
    return bytes;
}

// A RIFF form holding the given chunks, its size counting them all.
inline Bytes form(std::string_view type, const std::vector<Bytes>& chunks) {
    Bytes body;
    put_tag(body, type);
    for (const Bytes& one : chunks)
        append(body, one);
    Bytes bytes;
    put_tag(bytes, "RIFF");
    put_u32(bytes, static_cast<std::uint32_t>(body.size()));
    append(bytes, body);
    return bytes;
}

// The 16 bytes of a PCM "fmt " chunk.
inline Bytes pcm_format(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const auto frame = static_cast<std::uint16_t>(channels * bits / 8);
    Bytes bytes;
    put_u16(bytes, 1);
    put_u16(bytes, channels);
    put_u32(bytes, rate);
    put_u32(bytes, rate * frame);
    put_u16(bytes, frame);
    put_u16(bytes, bits);
    return bytes;
}

inline Bytes wave_file(const Bytes& format, const Bytes& samples) {
    return form("WAVE", {chunk("fmt ", format), chunk("data", samples)});
}

// MIDI stream events.
constexpr std::uint32_t tempo_event(std::uint32_t microseconds_per_quarter) {
    return 0x01000000 | microseconds_per_quarter;
}
constexpr std::uint32_t note_on(int channel, int note, int velocity) {
    return static_cast<std::uint32_t>(0x90 | channel | note << 8 | velocity << 16);
}
constexpr std::uint32_t note_off(int channel, int note) {
    return static_cast<std::uint32_t>(0x80 | channel | note << 8 | 64 << 16);
}
constexpr std::uint32_t program_change(int channel, int program) {
    return static_cast<std::uint32_t>(0xC0 | channel | program << 8);
}

struct Event {
    std::uint32_t delta = 0;
    std::uint32_t event = 0;
    Bytes parameters; // for long events, before padding
};

// A 16-bit mono tone, `milliseconds` long at `rate` frames per second, fading out.
inline Bytes tone_samples(std::uint32_t rate, std::uint32_t milliseconds, double frequency,
                          double amplitude) {
    Bytes bytes;
    const std::uint32_t frames = rate * milliseconds / 1000;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double fade = 1.0 - static_cast<double>(i) / frames;
        const double value =
            amplitude * fade * std::sin(2 * std::numbers::pi * frequency * i / rate);
        put_u16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 32767)));
    }
    return bytes;
}

// The events as a stream buffer holds them (delta, stream identifier 0,
// event, padded parameters), or as a file stores them without the identifier.
inline Bytes stream_events(const std::vector<Event>& events, bool with_stream_id = true) {
    Bytes bytes;
    for (const Event& event : events) {
        put_u32(bytes, event.delta);
        if (with_stream_id)
            put_u32(bytes, 0);
        put_u32(bytes, event.event);
        append(bytes, event.parameters);
        while (bytes.size() % 4 != 0)
            bytes.push_back(0);
    }
    return bytes;
}

// A MIDS file: the fmt chunk (time format, buffer capacity, flags) and the
// data chunk with one block per entry of `blocks` (each the event bytes).
inline Bytes mids_file(std::uint32_t time_format, std::uint32_t max_buffer_bytes,
                       std::uint32_t flags, const std::vector<Bytes>& blocks) {
    Bytes format;
    put_u32(format, time_format);
    put_u32(format, max_buffer_bytes);
    put_u32(format, flags);
    Bytes data;
    put_u32(data, static_cast<std::uint32_t>(blocks.size()));
    std::uint32_t tick = 0;
    for (const Bytes& block : blocks) {
        put_u32(data, tick);
        put_u32(data, static_cast<std::uint32_t>(block.size()));
        append(data, block);
        tick += 1;
    }
    return form("MIDS", {chunk("fmt ", format), chunk("data", data)});
}

namespace melody_parts {

constexpr std::uint32_t quarter = 96;

// One bar of four quarter notes over a held bass note.
inline std::vector<Event> bar(int bass, const int (&tune)[4]) {
    std::vector<Event> events;
    events.push_back({0, note_on(1, bass, 70), {}});
    for (int note : tune) {
        events.push_back({0, note_on(0, note, 96), {}});
        events.push_back({quarter - 8, note_off(0, note), {}});
        events.push_back({8, 0x02000000, {}}); // a no-op to reach the next beat
    }
    events.push_back({0, note_off(1, bass), {}});
    return events;
}

inline std::vector<Event> join(std::vector<Event> first, const std::vector<Event>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace melody_parts

// A short tune in two buffers of two bars each, with a bass line, at 96 ticks
// per quarter note and 120 quarter notes a minute.
constexpr double melody_pass_seconds = 8.0;

inline Bytes melody(bool with_stream_id = true) {
    using namespace melody_parts;
    std::vector<Event> opening = {
        {0, tempo_event(500000), {}},
        {0, program_change(0, 11), {}}, // vibraphone
        {0, program_change(1, 32), {}}, // acoustic bass
    };
    opening = join(opening, bar(45, {69, 72, 76, 72}));
    opening = join(opening, bar(41, {65, 69, 72, 77}));
    const std::vector<Event> closing = join(bar(43, {67, 71, 74, 79}), bar(40, {76, 74, 71, 68}));
    const Bytes first = stream_events(opening, with_stream_id);
    const Bytes second = stream_events(closing, with_stream_id);
    return mids_file(quarter, 1024, with_stream_id ? 0 : 1, {first, second});
}

} // namespace riff
