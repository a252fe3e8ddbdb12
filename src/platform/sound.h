#pragma once

// Sampled sound output. Each effect lives in a static buffer that is filled
// once and played from its current position; the backend mixes whatever is
// sounding. Without a device the game is simply silent.

#include <cstdint>
#include <span>

namespace platform {

class SoundDevice;
class SoundBuffer;

// The default output device, or null when there is none.
SoundDevice* create_sound_device();
void release_sound_device(SoundDevice* device);

// A buffer of `bytes` bytes in the format that `format` (the data of a WAV
// "fmt " chunk) describes. Null when that format cannot be played: only PCM
// with 8 or 16 bits and one or two channels is.
SoundBuffer* create_sound_buffer(SoundDevice& device, std::span<const std::uint8_t> format,
                                 std::uint32_t bytes);

// The buffer's bytes, to be filled once; unlocking makes them playable.
std::span<std::uint8_t> lock_sound_buffer(SoundBuffer& buffer);
void unlock_sound_buffer(SoundBuffer& buffer);

// Plays the buffer once from its current position. A buffer that is still
// sounding goes on unchanged; one that has finished starts from its beginning.
void play_sound_buffer(SoundBuffer& buffer);

void release_sound_buffer(SoundBuffer* buffer);

} // namespace platform
