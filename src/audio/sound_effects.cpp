#include "audio/sound_effects.h"

#include "audio/wave.h"
#include "platform/sound.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// In load order, which is the order of the effects.
constexpr std::array<const char*, sound_effect_count> effect_files = {
    "WURF.WAV", "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV", "START.WAV", "LACH.WAV", "TSCHAU.WAV",
};

// Both live until release_sound_effects.
platform::SoundDevice* sound_device = nullptr;
std::array<platform::SoundBuffer*, sound_effect_count> effect_buffers{};

platform::SoundBuffer*& slot(SoundEffect effect) {
    return effect_buffers[static_cast<std::size_t>(effect)];
}

} // namespace

bool init_sound() {
    if (sound_device == nullptr)
        sound_device = platform::create_sound_device();
    return sound_device != nullptr;
}

bool load_sound_effects() {
    if (!init_sound())
        return false;
    for (std::size_t i = 0; i < effect_files.size(); ++i)
        load_effect(effect_files[i], static_cast<SoundEffect>(i));
    return true;
}

void load_effect(const char* name, SoundEffect effect) {
    if (sound_device == nullptr)
        return;
    WaveData wave;
    const std::vector<std::uint8_t> image = load_wave_file(name, wave);
    if (image.empty())
        return;
    platform::SoundBuffer* buffer =
        platform::create_sound_buffer(*sound_device, wave.format, wave.data_size);
    if (buffer == nullptr)
        return;
    const std::span<std::uint8_t> bytes = platform::lock_sound_buffer(*buffer);
    std::copy_n(wave.samples, std::min<std::size_t>(bytes.size(), wave.data_size), bytes.begin());
    platform::unlock_sound_buffer(*buffer);
    platform::release_sound_buffer(std::exchange(slot(effect), buffer));
}

void play_effect(SoundEffect effect) {
    if (platform::SoundBuffer* buffer = slot(effect))
        platform::play_sound_buffer(*buffer);
}

void release_sound_effects() {
    for (platform::SoundBuffer*& buffer : effect_buffers)
        platform::release_sound_buffer(std::exchange(buffer, nullptr));
    platform::release_sound_device(std::exchange(sound_device, nullptr));
}

const platform::SoundBuffer* effect_buffer(SoundEffect effect) {
    return slot(effect);
}
