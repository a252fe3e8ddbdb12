#pragma once

// The synthesizer that makes the game's music: FluidSynth with a General
// MIDI SoundFont, set up for this music, and the sink through which a MIDI
// sequencer's events reach it at their sample positions within a block.

#include "platform/midi_sequencer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include <fluidsynth.h>

namespace sdl {

class MusicSynth final : public platform::MidiSink {
  public:
    explicit MusicSynth(platform::MidiDoneCallback done);
    ~MusicSynth();
    MusicSynth(const MusicSynth&) = delete;
    MusicSynth& operator=(const MusicSynth&) = delete;

    // Loads a SoundFont; false when FluidSynth does not take the file. Only
    // before `finish_loading`.
    bool load(const std::string& soundfont);
    // From now on the synthesizer plays, silently when no SoundFont loaded.
    void finish_loading() { ready_.store(true, std::memory_order_release); }
    bool ready() const { return ready_.load(std::memory_order_acquire); }

    // Plays the next `frames` of the sequencer, adding their sound to the
    // stereo frames of `mix`. Once ready.
    void play(platform::MidiSequencer& sequencer, float* mix, int frames);
    // The voices sounding now.
    int active_voices() const;

    void short_message(double at, std::uint32_t message) override;
    void all_notes_off() override;
    void done(double at, platform::MidiHeader& header) override;

  private:
    fluid_synth_t* sounding_synth() const;
    void render_until(int end);
    void send(std::uint32_t message);

    // The most frames FluidSynth makes in one call: a whole block of the
    // audio device, unless events fall within it. Fewer, longer calls cost
    // a tenth less while the music plays in real time.
    static constexpr int chunk_frames = 1024;

    platform::MidiDoneCallback done_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    bool has_soundfont_ = false;
    std::atomic<bool> ready_{false};
    std::array<float, chunk_frames * 2> chunk_{};
    float* mix_ = nullptr;
    int rendered_ = 0;
    int running_status_ = 0;
};

} // namespace sdl
