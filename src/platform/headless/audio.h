#pragma once

// The headless backend's sound and MIDI devices, for tests: effect triggers
// and MIDI stream activity are logged with the virtual time, buffers play for
// as long as their samples or events last on the virtual clock, and either
// device can be taken away.

#include <cstdint>
#include <vector>

#include "platform/midi_stream.h"
#include "platform/sound.h"

namespace headless {

struct EffectTrigger {
    const platform::SoundBuffer* buffer = nullptr;
    std::uint64_t time = 0;
    bool started = false; // false: the buffer was still sounding and went on
};

struct MidiDone {
    const platform::MidiHeader* header = nullptr;
    std::uint64_t time = 0;
};

struct MidiShortMessage {
    std::uint64_t time = 0;
    std::uint32_t message = 0; // status, first and second data byte from the low byte up
};

// Every play_sound_buffer call since the last reset.
const std::vector<EffectTrigger>& effect_log();
// Buffers handed back by the MIDI stream, and the messages it played.
const std::vector<MidiDone>& midi_done_log();
const std::vector<MidiShortMessage>& midi_message_log();

// Fault injection: without the device, creating it (or opening the stream) fails.
void set_sound_device_present(bool present);
void set_midi_device_present(bool present);

// Whether a MIDI stream has been opened and not closed again.
bool midi_stream_is_open();

} // namespace headless
