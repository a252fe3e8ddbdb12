#include "platform/midi_stream.h"
#include "platform/midi_sequencer.h"
#include "platform/sdl/audio_output.h"
#include "platform/sdl/music_synth.h"
#include "platform/sdl/soundfont.h"

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <malloc.h>

namespace platform {

namespace {

void quiet_fluidsynth() {
    for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

} // namespace

// Events are played live by the music synthesizer, which the audio callback
// renders between them at their sample positions. Buffers come back on the
// audio thread, inside the render and so under the audio lock.
//
// Loading a SoundFont takes longer than everything else the program does
// before its first picture, so it is loaded on a thread of its own. Until it
// is loaded the stream stands still: what is queued meanwhile plays, in
// order, once it is. When no SoundFont can be loaded the stream plays on in
// silence and still hands its buffers back in time.
//
// What the threads share: the sequencer and everything the synthesizer does
// once it is ready are used only under the audio lock, by the audio thread
// as it renders and by the game's calls below. The loader touches the
// synthesizer only before it marks it ready (a release that the audio
// thread's and the game's reads acquire), and the stream is destroyed only
// after the audio thread has let go of it and the loader has been joined.
class MidiStream final : public sdl::AudioSource {
  public:
    MidiStream(MidiDoneCallback callback, std::vector<std::string> soundfonts)
        : callback_(callback), synth_(callback),
          loader_([this, soundfonts = std::move(soundfonts)] { load(soundfonts); }) {}

    ~MidiStream() {
        cancelled_ = true;
        loader_.join();
    }

    // A stream that is paused, or has nothing queued, renders nothing once
    // its last notes have died away: silent music costs no processor time.
    void render(float* mix, int frames) override {
        if (synth_.ready() && (sequencer.playing() || synth_.active_voices() > 0))
            synth_.play(sequencer, mix, frames);
    }

    void pause() { sequencer.pause(synth_); }

    // Hands every queued buffer back at once, as a reset does.
    void return_all() {
        for (MidiHeader* header : sequencer.reset(synth_))
            callback_(*header);
    }

    MidiSequencer sequencer{sdl::output_rate};

  private:
    // The first SoundFont that FluidSynth accepts, passing over damaged ones.
    void load(const std::vector<std::string>& soundfonts) {
        for (const std::string& soundfont : soundfonts) {
            if (cancelled_)
                break;
            if (synth_.load(soundfont)) {
                // Loading leaves megabytes of freed working memory in this
                // thread's own heap, which the C library would keep for the
                // rest of the run.
                malloc_trim(0);
                break;
            }
        }
        synth_.finish_loading();
    }

    MidiDoneCallback callback_;
    sdl::MusicSynth synth_;
    std::atomic<bool> cancelled_{false};
    std::thread loader_; // last: starts once everything it uses is there
};

namespace {

MidiStream* open_stream = nullptr;

} // namespace

MidiResult midi_stream_open(MidiStream*& stream, MidiDoneCallback callback) {
    std::vector<std::string> soundfonts = sdl::existing_soundfonts();
    if (open_stream != nullptr || soundfonts.empty() || !sdl::acquire_audio_output())
        return MidiResult::NoDevice;
    quiet_fluidsynth();
    open_stream = new MidiStream(callback, std::move(soundfonts));
    sdl::add_audio_source(*open_stream);
    stream = open_stream;
    return MidiResult::Ok;
}

MidiResult midi_stream_set_time_division(MidiStream& stream, std::uint32_t time_division) {
    sdl::AudioLock lock;
    return stream.sequencer.set_time_division(time_division) ? MidiResult::Ok
                                                             : MidiResult::InvalidParameter;
}

MidiResult midi_prepare_header(MidiStream&, MidiHeader& header) {
    sdl::AudioLock lock;
    return prepare_midi_header(header);
}

MidiResult midi_unprepare_header(MidiStream&, MidiHeader& header) {
    sdl::AudioLock lock;
    return unprepare_midi_header(header);
}

MidiResult midi_stream_out(MidiStream& stream, MidiHeader& header) {
    sdl::AudioLock lock;
    return stream.sequencer.queue(header);
}

MidiResult midi_stream_restart(MidiStream& stream) {
    sdl::AudioLock lock;
    stream.sequencer.restart();
    return MidiResult::Ok;
}

MidiResult midi_stream_pause(MidiStream& stream) {
    sdl::AudioLock lock;
    stream.pause();
    return MidiResult::Ok;
}

MidiResult midi_stream_reset(MidiStream& stream) {
    sdl::AudioLock lock;
    stream.return_all();
    return MidiResult::Ok;
}

MidiResult midi_stream_close(MidiStream* stream) {
    if (stream == nullptr || stream != open_stream)
        return MidiResult::InvalidParameter;
    sdl::remove_audio_source(*stream);
    delete stream;
    open_stream = nullptr;
    sdl::release_audio_output();
    return MidiResult::Ok;
}

} // namespace platform
