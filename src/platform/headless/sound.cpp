#include "platform/sound.h"
#include "platform/headless/audio.h"
#include "platform/headless/audio_clock.h"
#include "platform/headless/audio_state.h"
#include "platform/headless/headless.h"
#include "platform/wave_format.h"

namespace platform {

class SoundDevice {};

class SoundBuffer {
  public:
    SoundBuffer(const WaveFormat& format, std::uint32_t bytes) : format(format), samples(bytes) {}

    bool sounding(std::uint64_t now) const {
        const std::uint64_t frames = samples.size() / format.block_align;
        return played && now - started_at < frames * 1000 / format.frames_per_second;
    }

    WaveFormat format;
    std::vector<std::uint8_t> samples;
    bool played = false;
    std::uint64_t started_at = 0;
};

SoundDevice* create_sound_device() {
    return headless::audio_state().sound_present ? new SoundDevice : nullptr;
}

void release_sound_device(SoundDevice* device) {
    delete device;
}

SoundBuffer* create_sound_buffer(SoundDevice&, std::span<const std::uint8_t> format,
                                 std::uint32_t bytes) {
    WaveFormat wave;
    if (bytes == 0 || !read_wave_format(format, wave))
        return nullptr;
    return new SoundBuffer(wave, bytes);
}

std::span<std::uint8_t> lock_sound_buffer(SoundBuffer& buffer) {
    return buffer.samples;
}

void unlock_sound_buffer(SoundBuffer&) {}

void play_sound_buffer(SoundBuffer& buffer) {
    const std::uint64_t now = headless::now();
    const bool start = !buffer.sounding(now);
    if (start) {
        buffer.played = true;
        buffer.started_at = now;
    }
    headless::audio_state().effects.push_back({&buffer, now, start});
}

void release_sound_buffer(SoundBuffer* buffer) {
    delete buffer;
}

} // namespace platform

namespace headless {

AudioState& audio_state() {
    static AudioState instance;
    return instance;
}

void reset_audio() {
    AudioState& audio = audio_state();
    platform::MidiStream* const open_stream = audio.stream;
    audio = AudioState{};
    audio.stream = open_stream; // an open stream belongs to the program
}

const std::vector<EffectTrigger>& effect_log() {
    return audio_state().effects;
}

void set_sound_device_present(bool present) {
    audio_state().sound_present = present;
}

} // namespace headless
