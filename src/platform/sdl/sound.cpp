#include "platform/sound.h"
#include "platform/sdl/audio_output.h"
#include "platform/wave_format.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <vector>

namespace platform {

// An effect's samples, converted once to the output's stereo float frames.
class SoundBuffer {
  public:
    SoundBuffer(SoundDevice& owner, const WaveFormat& format, std::uint32_t bytes)
        : owner(owner), format(format), bytes(bytes) {}

    // Adds what is left to play of the buffer; at its end it stops and goes
    // back to the beginning.
    void mix_into(float* mix, int frames) {
        if (!playing)
            return;
        const std::size_t total = frames_.size() / sdl::output_channels;
        const std::size_t count = std::min<std::size_t>(frames, total - position_);
        const float* from = frames_.data() + position_ * sdl::output_channels;
        for (std::size_t i = 0; i < count * sdl::output_channels; ++i)
            mix[i] += from[i];
        position_ += count;
        if (position_ == total) {
            playing = false;
            position_ = 0;
        }
    }

    void convert() {
        std::vector<float> converted;
        const SDL_AudioFormat source = format.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        SDL_AudioStream* stream = SDL_NewAudioStream(
            source, static_cast<Uint8>(format.channels), static_cast<int>(format.frames_per_second),
            AUDIO_F32SYS, sdl::output_channels, sdl::output_rate);
        const std::size_t frames = bytes.size() / format.block_align;
        // The resampler keeps the last stretch of its input back even when
        // flushed, so a tenth of a second of silence follows the samples and
        // is cut off again afterwards.
        std::vector<std::uint8_t> input(bytes.begin(), bytes.begin() + frames * format.block_align);
        const std::uint8_t silence = format.bits_per_sample == 8 ? 0x80 : 0;
        input.resize(input.size() + (format.frames_per_second / 10 + 1) * format.block_align,
                     silence);
        if (stream != nullptr &&
            SDL_AudioStreamPut(stream, input.data(), static_cast<int>(input.size())) == 0 &&
            SDL_AudioStreamFlush(stream) == 0) {
            std::array<float, 4096> chunk;
            int got = 0;
            while ((got = SDL_AudioStreamGet(stream, chunk.data(), sizeof chunk)) > 0)
                converted.insert(converted.end(), chunk.begin(),
                                 chunk.begin() + got / static_cast<int>(sizeof(float)));
        }
        const std::size_t wanted =
            frames * sdl::output_rate / format.frames_per_second * sdl::output_channels;
        converted.resize(std::min(converted.size(), wanted));
        SDL_FreeAudioStream(stream);
        sdl::AudioLock lock;
        frames_.swap(converted);
        position_ = 0;
        playing = false;
    }

    SoundDevice& owner;
    WaveFormat format;
    std::vector<std::uint8_t> bytes; // as the caller filled them
    bool playing = false;

  private:
    std::vector<float> frames_;
    std::size_t position_ = 0;
};

class SoundDevice final : public sdl::AudioSource {
  public:
    void render(float* mix, int frames) override {
        for (SoundBuffer* buffer : buffers)
            buffer->mix_into(mix, frames);
    }

    std::vector<SoundBuffer*> buffers;
};

SoundDevice* create_sound_device() {
    if (!sdl::acquire_audio_output())
        return nullptr;
    auto* device = new SoundDevice;
    sdl::add_audio_source(*device);
    return device;
}

void release_sound_device(SoundDevice* device) {
    if (device == nullptr)
        return;
    sdl::remove_audio_source(*device);
    for (SoundBuffer* buffer : device->buffers)
        delete buffer;
    delete device;
    sdl::release_audio_output();
}

SoundBuffer* create_sound_buffer(SoundDevice& device, std::span<const std::uint8_t> format,
                                 std::uint32_t bytes) {
    WaveFormat wave;
    if (bytes == 0 || !read_wave_format(format, wave))
        return nullptr;
    auto* buffer = new SoundBuffer(device, wave, bytes);
    sdl::AudioLock lock;
    device.buffers.push_back(buffer);
    return buffer;
}

std::span<std::uint8_t> lock_sound_buffer(SoundBuffer& buffer) {
    return buffer.bytes;
}

void unlock_sound_buffer(SoundBuffer& buffer) {
    buffer.convert();
}

void play_sound_buffer(SoundBuffer& buffer) {
    sdl::AudioLock lock;
    buffer.playing = true;
}

void release_sound_buffer(SoundBuffer* buffer) {
    if (buffer == nullptr)
        return;
    {
        sdl::AudioLock lock;
        std::erase(buffer->owner.buffers, buffer);
    }
    delete buffer;
}

} // namespace platform
