#include "platform/midi_stream.h"
#include "platform/midi_sequencer.h"
#include "platform/sdl/audio_output.h"
#include "platform/sdl/soundfont.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>

namespace platform {

namespace {

void quiet_fluidsynth() {
    for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

} // namespace

// Events are played by a FluidSynth synthesizer that the audio callback
// renders between them, at their sample positions. Buffers come back on the
// audio thread, inside the render and so under the audio lock.
class MidiStream final : public MidiSink, public sdl::AudioSource {
  public:
    MidiStream(MidiDoneCallback callback, fluid_settings_t* settings, fluid_synth_t* synth)
        : callback_(callback), settings_(settings), synth_(synth) {}

    ~MidiStream() {
        delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }

    void render(float* mix, int frames) override {
        mix_ = mix;
        rendered_ = 0;
        sequencer.advance(frames, *this);
        render_until(frames);
    }

    void short_message(double at, std::uint32_t message) override {
        render_until(static_cast<int>(at)); // within the block: 0 <= at <= frames
        send(message);
    }

    void all_notes_off() override {
        for (int channel = 0; channel < 16; ++channel)
            fluid_synth_all_notes_off(synth_, channel);
    }

    void done(double, MidiHeader& header) override { callback_(header); }

    // Hands every queued buffer back at once, as a reset does.
    void return_all() {
        for (MidiHeader* header : sequencer.reset(*this))
            callback_(*header);
    }

    MidiSequencer sequencer{sdl::output_rate};

  private:
    // Adds the synthesizer's sound up to frame `end` of the block.
    void render_until(int end) {
        while (rendered_ < end) {
            const int count = std::min(end - rendered_, chunk_frames);
            fluid_synth_write_float(synth_, count, chunk_.data(), 0, 2, chunk_.data(), 1, 2);
            float* out = mix_ + static_cast<std::size_t>(rendered_) * sdl::output_channels;
            for (int i = 0; i < count * sdl::output_channels; ++i)
                out[i] += chunk_[static_cast<std::size_t>(i)];
            rendered_ += count;
        }
    }

    // A short message: status, then two data bytes; a status below 0x80
    // repeats the previous one (running status).
    void send(std::uint32_t message) {
        int status = static_cast<int>(message & 0xFF);
        int first = static_cast<int>(message >> 8 & 0x7F);
        int second = static_cast<int>(message >> 16 & 0x7F);
        if (status < 0x80) {
            second = first;
            first = status;
            status = running_status_;
        }
        running_status_ = status;
        const int channel = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth_, channel, first);
            break;
        case 0x90:
            fluid_synth_noteon(synth_, channel, first, second);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth_, channel, first, second);
            break;
        case 0xB0:
            fluid_synth_cc(synth_, channel, first, second);
            break;
        case 0xC0:
            fluid_synth_program_change(synth_, channel, first);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth_, channel, first);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth_, channel, first | second << 7);
            break;
        default: // system messages, and data bytes with no status before them
            break;
        }
    }

    static constexpr int chunk_frames = 256;

    MidiDoneCallback callback_;
    fluid_settings_t* settings_;
    fluid_synth_t* synth_;
    std::array<float, chunk_frames * sdl::output_channels> chunk_{};
    float* mix_ = nullptr;
    int rendered_ = 0;
    int running_status_ = 0;
};

namespace {

constexpr double music_gain = 0.6;

MidiStream* open_stream = nullptr;

// Loads the first SoundFont that FluidSynth accepts, passing over damaged
// ones; false when none is left.
bool load_soundfont(fluid_synth_t* synth) {
    for (const std::string& soundfont : sdl::existing_soundfonts())
        if (fluid_synth_sfload(synth, soundfont.c_str(), 1) != FLUID_FAILED)
            return true;
    return false;
}

MidiStream* create_stream(MidiDoneCallback callback) {
    quiet_fluidsynth();
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", sdl::output_rate);
    // FluidSynth's default gain leaves the music far below the effects.
    fluid_settings_setnum(settings, "synth.gain", music_gain);
    fluid_synth_t* synth = settings ? new_fluid_synth(settings) : nullptr;
    if (synth == nullptr || !load_soundfont(synth)) {
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return nullptr;
    }
    return new MidiStream(callback, settings, synth);
}

} // namespace

MidiResult midi_stream_open(MidiStream*& stream, MidiDoneCallback callback) {
    if (open_stream != nullptr || !sdl::acquire_audio_output())
        return MidiResult::NoDevice;
    open_stream = create_stream(callback);
    if (open_stream == nullptr) {
        sdl::release_audio_output();
        return MidiResult::NoDevice;
    }
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
    stream.sequencer.pause(stream);
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
