#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sdl {

// One pass of music that repeats, recorded as it is made and then played
// round and round instead of being made again; what comes before the pass
// may be recorded with it, to be played once before it. Frames are stereo;
// they are kept as 16-bit samples at half of full scale, so that music
// louder than full scale, which the output turns down later, is kept whole.
class MusicTape {
  public:
    // Room for `longest_frames`, taken now: recording never allocates.
    // False when there is no memory for it; the tape then never records.
    bool make_room(std::size_t longest_frames);

    // Forgets what was recorded and records from now on.
    void start_recording();
    // Forgets what was recorded.
    void clear();
    bool recording() const { return recording_; }
    bool playing() const { return playing_; }

    // Keeps `count` frames made just now; false once the tape is full.
    bool record(const float* frames, int count);
    // Gives the recording away (stereo frames, at the tape's scale): the
    // tape is left empty and without room, and records no more.
    std::vector<std::int16_t> take_recording();
    // Takes `samples`, recorded before, in place of what it holds, the pass
    // beginning at frame `loop_start`; played with `play_from` like a
    // recording of its own.
    void put_recording(std::vector<std::int16_t> samples, std::size_t loop_start);
    // The pass begins with the frame recorded next: what is recorded so far
    // plays only once.
    void loop_from_here() { loop_start_ = length(); }
    // Gives the memory of what plays only once back to the system, once it
    // has played: nothing reads it again (saving it is no longer possible).
    void forget_before_loop();
    // Ends the recording and plays it from frame `position` on.
    void play_from(std::size_t position);
    // Adds the next frames of the tape to `mix`, starting the pass over at
    // its end, until `count` are added or it comes to frame `stop` (`never`
    // for no stop). Returns how many were added.
    int play(float* mix, int count, std::size_t stop = never);

    static constexpr std::size_t never = static_cast<std::size_t>(-1);

    std::size_t length() const { return samples_.size() / channels; }
    std::size_t loop_start() const { return loop_start_; }
    std::span<const std::int16_t> samples() const { return samples_; }

  private:
    static constexpr int channels = 2;
    static constexpr float scale = 16384.0f;

    std::vector<std::int16_t> samples_;
    std::size_t position_ = 0;
    std::size_t loop_start_ = 0;
    bool recording_ = false;
    bool playing_ = false;
};

} // namespace sdl
