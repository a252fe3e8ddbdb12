#pragma once

#include "audio/sound_effect.h"

namespace platform {
class SoundBuffer;
}

// Opens the sound device once; false when there is none.
bool init_sound();

// Opens the device and loads the seven effects as far as their files allow.
// False without a sound device: the game then runs silently.
bool load_sound_effects();

// Loads one WAV file into the effect's buffer; on any failure the effect
// stays absent.
void load_effect(const char* name, SoundEffect effect);

// Plays the effect once if it was loaded. Triggering an effect that is still
// sounding lets it go on rather than starting it again.
void play_effect(SoundEffect effect);

// Releases the seven buffers, then the device.
void release_sound_effects();

// The buffer an effect plays from, or null while it is absent; lets a log of
// played buffers be read as effects.
const platform::SoundBuffer* effect_buffer(SoundEffect effect);
