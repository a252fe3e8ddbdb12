#pragma once

// A MIDI stream on the default output device: buffers of MIDIEVENT records
// are queued, played strictly in queue order, and handed back one by one
// through a done callback when they have played. The callback may run on
// another thread than the one that queued the buffer.
//
// A MIDIEVENT record is three 32-bit little-endian values: delta time in
// ticks, stream identifier, event. The event's top byte is its type (short
// message, tempo, no-op); bit 31 marks a long event, followed by as many
// parameter bytes as its low 24 bits say, padded to a multiple of 4.

#include <cstdint>

namespace platform {

constexpr std::uint32_t midi_event_long = 0x80000000;
constexpr std::uint32_t midi_event_callback = 0x40000000;
constexpr std::uint8_t midi_event_short_message = 0x00;
constexpr std::uint8_t midi_event_tempo = 0x01;
constexpr std::uint8_t midi_event_nop = 0x02;

// Header flags, kept by the stream.
constexpr std::uint32_t midi_header_done = 1;
constexpr std::uint32_t midi_header_prepared = 2;
constexpr std::uint32_t midi_header_queued = 4;

struct MidiHeader {
    std::uint8_t* data = nullptr;
    std::uint32_t buffer_length = 0;
    std::uint32_t bytes_recorded = 0; // the events in `data`
    void* user = nullptr;             // the owner's value, untouched by the stream
    std::uint32_t flags = 0;
};

enum class MidiResult {
    Ok,
    NoDevice,         // no output device, or nothing to play MIDI with
    InvalidParameter, // a time division the stream cannot use, a header already queued
    Unprepared,       // the header was not prepared
    StillPlaying,     // the header is still queued
};

class MidiStream;

// Called once for every buffer the stream hands back.
using MidiDoneCallback = void (*)(MidiHeader& header);

// Opens the one stream; it starts paused.
MidiResult midi_stream_open(MidiStream*& stream, MidiDoneCallback callback);
// Ticks per quarter note (bit 15 clear), or frames per second and ticks per
// frame (bit 15 set: high byte the negative frame rate, low byte the ticks).
MidiResult midi_stream_set_time_division(MidiStream& stream, std::uint32_t time_division);
MidiResult midi_prepare_header(MidiStream& stream, MidiHeader& header);
MidiResult midi_unprepare_header(MidiStream& stream, MidiHeader& header);
// Queues a prepared buffer after those already queued.
MidiResult midi_stream_out(MidiStream& stream, MidiHeader& header);
MidiResult midi_stream_restart(MidiStream& stream);
// Stops the stream where it stands and ends the notes sounding; a restart
// plays on from there.
MidiResult midi_stream_pause(MidiStream& stream);
// Silences the stream and hands every queued buffer back through the
// callback, in queue order, before it returns.
MidiResult midi_stream_reset(MidiStream& stream);
MidiResult midi_stream_close(MidiStream* stream);

} // namespace platform
