#include "platform/midi_stream.h"
#include "platform/fingerprint.h"
#include "platform/midi_sequencer.h"
#include "platform/sdl/audio_output.h"
#include "platform/sdl/music_tape.h"
#include "platform/sdl/saved_round.h"
#include "platform/sdl/soundfont.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <span>
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

// Events are played by a FluidSynth synthesizer that the audio callback
// renders between them, at their sample positions. Buffers come back on the
// audio thread, inside the render and so under the audio lock.
//
// Loading a SoundFont takes longer than everything else the program does
// before its first picture, so the synthesizer is made on a thread of its
// own. Until it is ready the stream stands still: what is queued meanwhile
// plays, in order, once it is. When no SoundFont can be loaded the stream
// plays on in silence and still hands its buffers back.
//
// Music that loops is made only once. A stream whose every buffer, once
// played, is queued again at once goes round and round the same music: one
// round of it is recorded, starting where a buffer ends a few seconds in (so
// that what still sounds from before is the same each round), and played
// from then on while the synthesizer rests (silence, without a SoundFont, is
// not recorded). The buffers then stay queued.
// Anything that breaks the round (a buffer not queued again, another one
// queued, a pause while recording, a new time division) stops the recording;
// a tape already playing plays on to the place where the synthesizer
// stopped, which then carries on from there.
//
// Where the cache can keep it, the recording starts with the music and
// holds what came before the round too. It is saved once the round is
// recorded, with a key made of the music queued at the start, the SoundFont
// and the synthesizer's settings. A later run of the same music loads it
// (a player's first run loads the round made when the game was built or
// installed) while the SoundFont loads and plays it from the start, while
// the music moves on unheard (the synthesizer takes its controllers and
// programs, not its notes): nothing is made at all. Should anything break
// the round first, the synthesizer takes over at once.
class MidiStream final : public MidiSink, public sdl::AudioSource {
  public:
    MidiStream(MidiDoneCallback callback, std::vector<std::string> soundfonts)
        : callback_(callback), loader_([this, soundfonts = std::move(soundfonts)] {
              load(soundfonts);
              save_rounds();
          }) {
        // Address space only: the pages are taken as the round is recorded.
        tape_.make_room(longest_round_frames);
    }

    ~MidiStream() {
        cancelled_ = true;
        round_recorded_.store(true);
        round_recorded_.notify_one();
        loader_.join();
        delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }

    void render(float* mix, int frames) override {
        if (loading_.load(std::memory_order_acquire))
            return;
        begin_music();
        int played = 0;
        if (tape_.playing()) {
            if (sequencer.paused())
                return;
            played = tape_.play(mix, frames, leaving_tape_ ? resume_position_ : tape_.never);
            if (played == frames) {
                if (unheard_)
                    move_on_unheard(frames);
                return;
            }
            // Round at the synthesizer's place: it carries on.
            stop_tape();
        }
        render_live(mix + static_cast<std::size_t>(played) * sdl::output_channels, frames - played);
    }

    void short_message(double at, std::uint32_t message) override {
        render_until(static_cast<int>(at)); // within the block: 0 <= at <= frames
        send(message);
    }

    void all_notes_off() override {
        if (fluid_synth_t* synth = ready_synth())
            for (int channel = 0; channel < 16; ++channel)
                fluid_synth_all_notes_off(synth, channel);
    }

    void done(double at, MidiHeader& header) override {
        render_until(static_cast<int>(at));
        in_done_ = true;
        callback_(header);
        in_done_ = false;
        follow_round(header, static_cast<int>(at));
    }

    MidiResult queue(MidiHeader& header) {
        if (!in_done_)
            break_round();
        return sequencer.queue(header);
    }

    void pause() {
        if (tape_.recording())
            break_round();
        sequencer.pause(*this);
    }

    bool set_time_division(std::uint32_t time_division) {
        break_round();
        return sequencer.set_time_division(time_division);
    }

    // Hands every queued buffer back at once, as a reset does.
    void return_all() {
        stop_tape();
        break_round();
        for (MidiHeader* header : sequencer.reset(*this))
            callback_(*header);
    }

    MidiSequencer sequencer{sdl::output_rate};

  private:
    // Makes the synthesizer with the first SoundFont that FluidSynth
    // accepts, passing over damaged ones.
    void load(const std::vector<std::string>& soundfonts) {
        settings_ = new_fluid_settings();
        fluid_settings_setnum(settings_, "synth.sample-rate", sdl::output_rate);
        // FluidSynth's default gain leaves the music far below the effects.
        fluid_settings_setnum(settings_, "synth.gain", music_gain);
        // Every note event looks through all the voices the synthesizer
        // keeps; the music never sounds more than about fifty at once.
        fluid_settings_setint(settings_, "synth.polyphony", polyphony);
        synth_ = settings_ ? new_fluid_synth(settings_) : nullptr;
        for (const std::string& soundfont : soundfonts) {
            if (synth_ == nullptr || cancelled_)
                break;
            if (fluid_synth_sfload(synth_, soundfont.c_str(), 1) != FLUID_FAILED) {
                loaded_ = true;
                // Loading leaves megabytes of freed working memory in this
                // thread's own heap, which the C library would keep for the
                // rest of the run.
                malloc_trim(0);
                look_for_saved_round(soundfont);
                break;
            }
        }
        loading_.store(false, std::memory_order_release);
    }

    // Saves each round worth keeping as soon as it is recorded, so that a
    // run that ends abruptly later keeps it too; then what plays only once
    // gives its memory back. The recording is neither changed nor freed
    // while it is written.
    void save_rounds() {
        for (;;) {
            round_recorded_.wait(false);
            round_recorded_.store(false);
            if (cancelled_) // set before the wake that closing sends
                return;
            std::span<const std::int16_t> samples;
            sdl::RoundMark mark;
            {
                sdl::AudioLock lock;
                if (!keep_round_)
                    continue;
                keep_round_ = false;
                saving_ = true;
                samples = tape_.samples();
                mark = recorded_mark_;
            }
            sdl::save_round(round_file_, mark, samples);
            std::vector<std::int16_t> written;
            sdl::AudioLock lock;
            saving_ = false;
            written.swap(kept_while_saving_);
            if (tape_.playing() && tape_.samples().data() == samples.data())
                tape_.forget_before_loop();
        }
    }

    // Takes the key of the music queued now, which has not started to play,
    // and the round an earlier run saved for it, else the one made ahead of
    // time.
    void look_for_saved_round(const std::string& soundfont) {
        round_file_ = sdl::saved_round_path();
        if (round_file_.empty())
            return;
        const std::uint64_t made_with = synthesizer_key(soundfont);
        std::uint64_t key = 0;
        {
            sdl::AudioLock lock;
            platform::Fingerprint print;
            print.add(made_with);
            print.add(sequencer.fingerprint());
            key = music_key_ = print.value();
        }
        if (!sdl::load_round(round_file_, key, longest_round_frames, saved_mark_, saved_samples_))
            sdl::load_round(sdl::prepared_round_path, key, longest_round_frames, saved_mark_,
                            saved_samples_);
    }

    // What besides the music makes the sound: the SoundFont file and the
    // synthesizer with its settings.
    static std::uint64_t synthesizer_key(const std::string& soundfont) {
        platform::Fingerprint print;
        print.add(std::string_view(soundfont));
        std::error_code error;
        print.add(static_cast<std::uint64_t>(std::filesystem::file_size(soundfont, error)));
        print.add(static_cast<std::int64_t>(
            std::filesystem::last_write_time(soundfont, error).time_since_epoch().count()));
        print.add(std::string_view(fluid_version_str()));
        for (double setting : {double{sdl::output_rate}, music_gain, double{polyphony},
                               double{chunk_frames}, double{settle_frames}})
            print.add(setting);
        return print.value();
    }

    // As the music starts, with its key still holding: a kept recording
    // plays from its first frame, or the recording starts.
    void begin_music() {
        if (settled_frames_ != 0 || music_key_ == 0 || tape_.recording() || tape_.playing() ||
            !sequencer.playing() || ready_synth() == nullptr)
            return;
        if (saved_samples_.empty()) {
            tape_.start_recording();
            return;
        }
        tape_.put_recording(std::move(saved_samples_), saved_mark_.start);
        tape_.play_from(0);
        unheard_ = true;
    }

    // The music of a block whose sound came from the kept recording: a
    // block without a mix.
    void move_on_unheard(int frames) { render_live(nullptr, frames); }

    void render_live(float* mix, int frames) {
        mix_ = mix;
        rendered_ = 0;
        block_frames_ = frames;
        sequencer.advance(frames, *this);
        render_until(frames);
        if (sequencer.playing())
            settled_frames_ += frames;
    }

    // After buffer `header` has played, ending at frame `at` of the block.
    void follow_round(MidiHeader& header, int at) {
        ++buffers_back_;
        if (!(header.flags & midi_header_queued)) {
            break_round();
        } else if (tape_.recording() && &header == round_start_) {
            close_round(at);
        } else if (round_start_ == nullptr && (!tape_.playing() || unheard_) &&
                   ready_synth() != nullptr && settled_frames_ + at >= settle_frames) {
            begin_round(header, at);
        }
    }

    // The round begins where `header` ended, at frame `at` of the block.
    void begin_round(MidiHeader& header, int at) {
        const sdl::RoundMark here{music_key_, static_cast<std::uint64_t>(settled_frames_ + at),
                                  static_cast<std::uint64_t>(buffers_back_)};
        if (unheard_) {
            hear_kept_round(here, at);
            return;
        }
        if (!tape_.recording())
            tape_.start_recording();
        tape_.loop_from_here();
        round_start_ = &header;
        recorded_mark_ = here;
    }

    // The kept recording has played up to where its round begins: from the
    // next block on the tape plays alone and the music stands still, as
    // after a recording of its own. A round that begins elsewhere is other
    // music: the synthesizer takes over.
    void hear_kept_round(const sdl::RoundMark& here, int at) {
        unheard_ = false;
        if (here != saved_mark_) {
            stop_tape();
            return;
        }
        resume_position_ = tape_.loop_start() + static_cast<std::size_t>(block_frames_ - at);
        tape_.forget_before_loop();
    }

    // The round is recorded: the tape plays on from where the block, made
    // to its end already, leaves off.
    void close_round(int at) {
        const auto made = static_cast<std::size_t>(block_frames_ - at);
        if (tape_.length() - tape_.loop_start() <= made) {
            break_round();
            return;
        }
        resume_position_ = tape_.loop_start() + made;
        tape_.play_from(resume_position_);
        round_start_ = nullptr;
        keep_round_ = recorded_mark_.key != 0 && music_key_ != 0 &&
                      tape_.loop_start() == recorded_mark_.start;
        if (keep_round_) {
            round_recorded_.store(true);
            round_recorded_.notify_one();
        }
    }

    // A recording about to be saved, or being saved, is put aside whole.
    void stop_tape() {
        if (keep_round_ || saving_)
            kept_while_saving_ = tape_.take_recording();
        keep_round_ = false;
        tape_.clear();
        leaving_tape_ = false;
    }

    void break_round() {
        if (unheard_) {
            unheard_ = false;
            stop_tape();
        } else if (tape_.playing())
            leaving_tape_ = true;
        else
            stop_tape();
        round_start_ = nullptr;
        settled_frames_ = 0;
        buffers_back_ = 0;
        music_key_ = 0;
    }

    // The synthesizer once it plays; null while it loads, or without a SoundFont.
    fluid_synth_t* ready_synth() const {
        return !loading_.load(std::memory_order_acquire) && loaded_ ? synth_ : nullptr;
    }

    // Adds the synthesizer's sound up to frame `end` of the block.
    void render_until(int end) {
        fluid_synth_t* synth = ready_synth();
        if (synth == nullptr || mix_ == nullptr) {
            rendered_ = end;
            return;
        }
        while (rendered_ < end) {
            const int count = std::min(end - rendered_, chunk_frames);
            fluid_synth_write_float(synth, count, chunk_.data(), 0, 2, chunk_.data(), 1, 2);
            float* out = mix_ + static_cast<std::size_t>(rendered_) * sdl::output_channels;
            for (int i = 0; i < count * sdl::output_channels; ++i)
                out[i] += chunk_[static_cast<std::size_t>(i)];
            if (tape_.recording() && !tape_.record(chunk_.data(), count))
                break_round();
            rendered_ += count;
        }
    }

    // A short message: status, then two data bytes; a status below 0x80
    // repeats the previous one (running status).
    void send(std::uint32_t message) {
        fluid_synth_t* synth = ready_synth();
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
        if (mix_ == nullptr && (status & 0xF0) <= 0xA0) // unheard: notes and their pressure
            return;
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

    static constexpr int chunk_frames = 256;
    static constexpr double music_gain = 0.6;
    static constexpr int polyphony = 96;
    // Longer than anything still sounding from before the round begins.
    static constexpr int settle_frames = 4 * sdl::output_rate;
    // Two minutes: 21 MB of tape.
    static constexpr std::size_t longest_round_frames = 120 * sdl::output_rate;

    MidiDoneCallback callback_;
    // Written by the loader only while `loading_` is set.
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    bool loaded_ = false;
    std::atomic<bool> loading_{true};
    std::atomic<bool> cancelled_{false};
    std::array<float, chunk_frames * sdl::output_channels> chunk_{};
    float* mix_ = nullptr;
    int rendered_ = 0;
    int block_frames_ = 0;
    int running_status_ = 0;
    sdl::MusicTape tape_;
    MidiHeader* round_start_ = nullptr; // the buffer whose end begins the round
    long settled_frames_ = 0;           // played since the last break of a round
    bool in_done_ = false;
    bool leaving_tape_ = false;
    std::size_t resume_position_ = 0; // on the tape: where the synthesizer stopped
    long buffers_back_ = 0;           // since the last break of a round
    // The key of the music as it was queued at the start, while nothing has
    // broken a round since (0 once something has).
    std::uint64_t music_key_ = 0;
    std::string round_file_;
    // Loaded before the synthesizer is ready; used up as the music starts.
    sdl::RoundMark saved_mark_;
    std::vector<std::int16_t> saved_samples_;
    bool unheard_ = false;         // the kept recording plays up to its round
    sdl::RoundMark recorded_mark_; // of the round on the tape, when recorded here
    bool keep_round_ = false;      // recorded, to be saved
    bool saving_ = false;
    std::vector<std::int16_t> kept_while_saving_;
    std::atomic<bool> round_recorded_{false}; // wakes the saving
    std::thread loader_;                      // last: starts once everything it uses is there
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
    return stream.set_time_division(time_division) ? MidiResult::Ok : MidiResult::InvalidParameter;
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
    return stream.queue(header);
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
