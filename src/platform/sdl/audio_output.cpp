#include "platform/sdl/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace sdl {

namespace {

// Overlapping sounds may add up past full scale. Instead of clipping, a
// block that would go past it is turned down as a whole, and the gain
// recovers over about half a second.
class Limiter {
  public:
    void apply(float* samples, std::size_t count) {
        float peak = 0;
        for (std::size_t i = 0; i < count; ++i)
            peak = std::max(peak, std::fabs(samples[i]));
        const float recovered = gain_ + (1.0f - gain_) * recovery_per_block;
        const float target = peak > 0 ? std::min(recovered, 1.0f / peak) : recovered;
        if (gain_ == 1.0f && target == 1.0f) // nearly every block: nothing to turn down
            return;
        // Down at once, up gradually: every gain used stays at or below the target.
        const float start = std::min(gain_, target);
        for (std::size_t i = 0; i < count; ++i)
            samples[i] *= start + (target - start) * static_cast<float>(i) / count;
        gain_ = target;
    }

  private:
    static constexpr float recovery_per_block = 0.05f;
    float gain_ = 1.0f;
};

struct Output {
    SDL_AudioDeviceID device = 0;
    int users = 0;
    std::vector<AudioSource*> sources;
    std::vector<float> mix;
    Limiter limiter;
};

Output output;

void SDLCALL fill(void*, Uint8* stream, int length) {
    const int frames = length / static_cast<int>(output_channels * sizeof(Sint16));
    const std::size_t samples = static_cast<std::size_t>(frames) * output_channels;
    output.mix.assign(samples, 0.0f); // sized at open: no allocation here
    for (AudioSource* source : output.sources)
        source->render(output.mix.data(), frames);
    output.limiter.apply(output.mix.data(), samples);
    auto* out = reinterpret_cast<Sint16*>(stream);
    for (std::size_t i = 0; i < samples; ++i)
        out[i] = nearest_sample(std::clamp(output.mix[i], -1.0f, 1.0f) * 32767);
}

// Runs before the static objects that existed when it was registered are
// destroyed: the audio thread, which reads them in `fill`, is stopped and
// joined first, whichever way the program ends.
void close_output_at_exit() {
    if (output.device == 0)
        return;
    SDL_CloseAudioDevice(output.device);
    output.device = 0;
}

bool open_output() {
    static const bool closes_at_exit = std::atexit(close_output_at_exit) == 0;
    if (!closes_at_exit || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = output_rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = output_channels;
    wanted.samples = 1024;
    wanted.callback = fill;
    SDL_AudioSpec obtained{};
    // SDL converts to whatever the hardware wants; the callback always sees this format.
    output.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (output.device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    output.mix.reserve(static_cast<std::size_t>(obtained.samples) * output_channels);
    SDL_PauseAudioDevice(output.device, 0);
    return true;
}

} // namespace

bool acquire_audio_output() {
    if (output.users == 0 && !open_output())
        return false;
    ++output.users;
    return true;
}

void release_audio_output() {
    if (output.users == 0 || --output.users > 0)
        return;
    SDL_CloseAudioDevice(output.device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    output.device = 0;
    output.sources.clear();
}

void add_audio_source(AudioSource& source) {
    AudioLock lock;
    output.sources.push_back(&source);
}

void remove_audio_source(AudioSource& source) {
    AudioLock lock;
    std::erase(output.sources, &source);
}

AudioLock::AudioLock() {
    SDL_LockAudioDevice(output.device);
}

AudioLock::~AudioLock() {
    SDL_UnlockAudioDevice(output.device);
}

} // namespace sdl
