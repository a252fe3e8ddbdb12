#pragma once

// State shared by the headless sound and MIDI devices.

#include <vector>

#include "platform/headless/audio.h"

namespace headless {

struct AudioState {
    bool sound_present = true;
    bool midi_present = true;
    std::vector<EffectTrigger> effects;
    std::vector<MidiDone> midi_done;
    std::vector<MidiShortMessage> midi_messages;
    platform::MidiStream* stream = nullptr; // the one open stream
};

AudioState& audio_state();

} // namespace headless
