#pragma once

// The one audio device of the SDL backend. Its callback asks every source to
// add its sound to a block of stereo float frames, keeps the sum below full
// scale and hands it to SDL as 16-bit samples.

#include <cstdint>

namespace sdl {

constexpr int output_rate = 44100;
constexpr int output_channels = 2;

// The nearest 16-bit sample to `value` (within ±32767), halves away from
// zero as std::lround has them, without a call into the maths library for
// every sample of every block.
inline std::int16_t nearest_sample(float value) {
    const int whole = static_cast<int>(value); // towards zero
    const float rest = value - static_cast<float>(whole);
    return static_cast<std::int16_t>(whole + (rest >= 0.5f) - (rest <= -0.5f));
}

class AudioSource {
  public:
    // Adds `frames` stereo frames of sound to `mix`; runs on the audio thread
    // with the output locked.
    virtual void render(float* mix, int frames) = 0;

  protected:
    ~AudioSource() = default;
};

// Opens the device for one more user (the first opens it). False when there
// is no audio device.
bool acquire_audio_output();
void release_audio_output();

// Sources are rendered in the order they were added.
void add_audio_source(AudioSource& source);
void remove_audio_source(AudioSource& source);

// Keeps the audio thread out while the caller changes what a source reads.
// The lock is recursive, and the audio thread holds it while it renders, so
// code called from a render may take it again.
class AudioLock {
  public:
    AudioLock();
    ~AudioLock();
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

} // namespace sdl
