#pragma once

// How the virtual clock drives the headless audio devices.

#include <cstdint>

namespace headless {

// Empties the logs and brings both devices back.
void reset_audio();
// Plays the open MIDI stream from virtual time `from` to `to`.
void advance_audio(std::uint64_t from, std::uint64_t to);

} // namespace headless
