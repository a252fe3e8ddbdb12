#pragma once

// Plays a MIDI stream file (RIFF form "MIDS"): the file is parsed once into
// device-ready buffers, all of them are queued on a MIDI stream, and with
// looping every buffer that comes back is queued again at the end.

#include "platform/midi_stream.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

enum class MidsResult {
    Ok = 0,
    NoMemory = 1,    // allocating the player or its buffers failed
    FileError = 2,   // opening or reading the file failed
    BadFormat = 3,   // the data is not a well-formed MIDS file
    BadArgument = 4, // the source flags are neither file nor memory
    DeviceError = 5, // a MIDI call failed
    BadHandle = 6,   // not an open player
    WrongState = 7,  // no stream is open, or it is already playing
};

// Source flags of mids_open.
constexpr std::uint32_t mids_source_file = 1;
constexpr std::uint32_t mids_source_memory = 2;

// Play flags of mids_play.
constexpr std::uint32_t mids_play_loop = 1;

// Bits of MidsPlayer::play_flags.
constexpr std::uint32_t mids_stopping = 1;
constexpr std::uint32_t mids_looping = 2;
constexpr std::uint32_t mids_paused = 4;

// Format flag: the file stores events without their stream identifier.
constexpr std::uint32_t mids_no_stream_id = 1;

struct FreeBytes {
    void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};

struct MidsPlayer {
    std::array<char, 4> magic{}; // "MDSI" while valid
    std::uint32_t time_format = 0;
    std::uint32_t max_buffer_bytes = 0; // capacity of every buffer
    std::uint32_t format_flags = 0;
    std::vector<platform::MidiHeader> buffers;
    std::unique_ptr<std::uint8_t, FreeBytes> buffer_bytes; // buffers × capacity
    platform::MidiStream* stream = nullptr;
    // Shared with the stream's done callback, which may run on another thread.
    std::atomic<std::uint32_t> play_flags{0};
    std::uint32_t buffer_count = 0;
    std::atomic<std::uint32_t> queued_count{0};
};

// Opens a player from a file name (mids_source_file; `size` is not used) or
// from `size` bytes of memory (mids_source_memory).
MidsResult mids_open(MidsPlayer*& player, const void* source, std::uint32_t size,
                     std::uint32_t source_flags);
// Opens the stream on first use, queues every buffer and starts; resumes a
// paused stream. `flags`: mids_play_loop.
MidsResult mids_play(MidsPlayer* player, std::uint32_t flags);
MidsResult mids_pause(MidsPlayer* player);
// Silences the stream, takes every buffer back and closes the stream.
MidsResult mids_stop(MidsPlayer* player);
// Stops if needed and frees the player.
MidsResult mids_close(MidsPlayer* player);
// The stream's done callback.
void mids_callback(platform::MidiHeader& header);

// Parses a MIDS image into the player's buffers; on failure none are kept.
MidsResult mids_parse(MidsPlayer& player, std::span<const std::uint8_t> image);
