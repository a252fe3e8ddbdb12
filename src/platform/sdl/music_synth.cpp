#include "platform/sdl/music_synth.h"
#include "platform/sdl/audio_output.h"

#include <algorithm>

namespace sdl {

namespace {

// FluidSynth's default gain leaves the music far below the effects.
constexpr double music_gain = 0.6;
// Every note event looks through all the voices the synthesizer keeps; the
// game's music never sounds more than fifty at once.
constexpr int polyphony = 64;
// Reverb and chorus stay on: taking either away changes the music by a tenth
// of its level (-20 dB), well within hearing, and both together cost about a
// fifth of the synthesizer's time.

} // namespace

MusicSynth::MusicSynth(platform::MidiDoneCallback done) : done_(done) {
    settings_ = new_fluid_settings();
    if (settings_ == nullptr)
        return;
    fluid_settings_setnum(settings_, "synth.sample-rate", output_rate);
    fluid_settings_setnum(settings_, "synth.gain", music_gain);
    fluid_settings_setint(settings_, "synth.polyphony", polyphony);
    synth_ = new_fluid_synth(settings_);
}

MusicSynth::~MusicSynth() {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

bool MusicSynth::load(const std::string& soundfont) {
    has_soundfont_ =
        synth_ != nullptr && fluid_synth_sfload(synth_, soundfont.c_str(), 1) != FLUID_FAILED;
    return has_soundfont_;
}

void MusicSynth::play(platform::MidiSequencer& sequencer, float* mix, int frames) {
    mix_ = mix;
    rendered_ = 0;
    sequencer.advance(frames, *this);
    render_until(frames);
}

int MusicSynth::active_voices() const {
    fluid_synth_t* synth = sounding_synth();
    return synth ? fluid_synth_get_active_voice_count(synth) : 0;
}

void MusicSynth::short_message(double at, std::uint32_t message) {
    render_until(static_cast<int>(at)); // within the block: 0 <= at <= frames
    send(message);
}

void MusicSynth::all_notes_off() {
    if (fluid_synth_t* synth = sounding_synth())
        for (int channel = 0; channel < 16; ++channel)
            fluid_synth_all_notes_off(synth, channel);
}

void MusicSynth::done(double at, platform::MidiHeader& header) {
    render_until(static_cast<int>(at));
    done_(header);
}

// The synthesizer once it plays with a SoundFont; null while it loads, and
// without one.
fluid_synth_t* MusicSynth::sounding_synth() const {
    return ready() && has_soundfont_ ? synth_ : nullptr;
}

// Adds the synthesizer's sound up to frame `end` of the block.
void MusicSynth::render_until(int end) {
    fluid_synth_t* synth = sounding_synth();
    if (synth == nullptr) {
        rendered_ = end;
        return;
    }
    while (rendered_ < end) {
        const int count = std::min(end - rendered_, chunk_frames);
        fluid_synth_write_float(synth, count, chunk_.data(), 0, 2, chunk_.data(), 1, 2);
        float* out = mix_ + static_cast<std::size_t>(rendered_) * output_channels;
        for (int i = 0; i < count * output_channels; ++i)
            out[i] += chunk_[static_cast<std::size_t>(i)];
        rendered_ += count;
    }
}

// A short message: status, then two data bytes; a status below 0x80
// repeats the previous one (running status).
void MusicSynth::send(std::uint32_t message) {
    fluid_synth_t* synth = sounding_synth();
    if (synth == nullptr)
        return;
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
        fluid_synth_noteoff(synth, channel, first);
        break;
    case 0x90:
        fluid_synth_noteon(synth, channel, first, second);
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, first, second);
        break;
    case 0xB0:
        fluid_synth_cc(synth, channel, first, second);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, first);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, first);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, first | second << 7);
        break;
    default: // system messages, and data bytes with no status before them
        break;
    }
}

} // namespace sdl
