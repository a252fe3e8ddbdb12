#include "platform/sdl/music_tape.h"
#include "platform/sdl/audio_output.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

namespace sdl {

bool MusicTape::make_room(std::size_t longest_frames) {
    try {
        samples_.reserve(longest_frames * channels);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void MusicTape::start_recording() {
    clear();
    recording_ = samples_.capacity() > 0;
}

void MusicTape::clear() {
    samples_.clear();
    position_ = 0;
    loop_start_ = 0;
    recording_ = false;
    playing_ = false;
}

bool MusicTape::record(const float* frames, int count) {
    const std::size_t samples = static_cast<std::size_t>(count) * channels;
    if (!recording_)
        return false;
    if (samples_.size() + samples > samples_.capacity()) {
        // Music that does not come round within the room never will: the
        // room is given back, and nothing is recorded again.
        samples_ = {};
        clear();
        return false;
    }
    constexpr float largest = std::numeric_limits<std::int16_t>::max();
    for (std::size_t i = 0; i < samples; ++i)
        samples_.push_back(nearest_sample(std::clamp(frames[i] * scale, -largest, largest)));
    return true;
}

std::vector<std::int16_t> MusicTape::take_recording() {
    std::vector<std::int16_t> taken = std::move(samples_);
    samples_ = {};
    clear();
    return taken;
}

void MusicTape::put_recording(std::vector<std::int16_t> samples, std::size_t loop_start) {
    clear();
    samples_ = std::move(samples);
    samples_.resize(samples_.size() / channels * channels);
    loop_start_ = std::min(loop_start, length() > 0 ? length() - 1 : 0);
}

void MusicTape::forget_before_loop() {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(samples_.data());
    const auto end = reinterpret_cast<std::uintptr_t>(samples_.data() + loop_start_ * channels);
    const std::uintptr_t from = (first + page - 1) / page * page;
    const std::uintptr_t to = end / page * page;
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

void MusicTape::play_from(std::size_t position) {
    recording_ = false;
    playing_ = length() > 0;
    if (!playing_)
        position_ = 0;
    else if (position < length())
        position_ = position;
    else
        position_ = loop_start_ + (position - loop_start_) % (length() - loop_start_);
}

int MusicTape::play(float* mix, int count, std::size_t stop) {
    int played = 0;
    while (playing_ && played < count && position_ != stop) {
        const std::size_t end = position_ < stop ? std::min(stop, length()) : length();
        const int run = static_cast<int>(
            std::min<std::size_t>(static_cast<std::size_t>(count - played), end - position_));
        const std::int16_t* from = samples_.data() + position_ * channels;
        float* to = mix + static_cast<std::size_t>(played) * channels;
        for (int i = 0; i < run * channels; ++i)
            to[i] += static_cast<float>(from[i]) / scale;
        played += run;
        position_ += static_cast<std::size_t>(run);
        if (position_ == length())
            position_ = loop_start_;
    }
    return played;
}

} // namespace sdl
