#pragma once

#include "mids_writer.h"

#include <cstdint>
#include <vector>

// The background music: an original piece in A minor for a square lead,
// vibraphone, synth bass, a warm pad and drums (General MIDI), 44 bars at
// 140 beats a minute, about 75 seconds. It loops without a seam: its last
// event falls exactly on the end of the last bar, where the first begins.
constexpr std::uint32_t music_ticks_per_quarter = 96;
constexpr std::uint32_t music_quarter_microseconds = 428571; // 140 per minute

std::vector<StreamEvent> compose_music();
