#pragma once

#include "audio/sound_effect.h"
#include "wave_file.h"

// The file each effect is loaded from, as the game asks for it.
const char* effect_file_name(SoundEffect effect);
// The effect's sound, synthesized; its loudest sample stays below full scale.
Samples make_effect(SoundEffect effect);
