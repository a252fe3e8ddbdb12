#include "platform/midi_stream.h"
#include "platform/headless/audio.h"
#include "platform/headless/audio_clock.h"
#include "platform/headless/audio_state.h"
#include "platform/headless/headless.h"
#include "platform/midi_sequencer.h"

namespace platform {

// Plays on the virtual clock in milliseconds; buffers come back on the main
// thread while the clock moves, which keeps the tests deterministic.
class MidiStream final : public MidiSink {
  public:
    explicit MidiStream(MidiDoneCallback callback) : callback_(callback) {}

    void advance(std::uint64_t from, std::uint64_t to) {
        from_ = from;
        sequencer.advance(static_cast<double>(to - from), *this);
    }

    void short_message(double at, std::uint32_t message) override {
        headless::audio_state().midi_messages.push_back({time_of(at), message});
    }

    void all_notes_off() override {}

    void done(double at, MidiHeader& header) override {
        headless::audio_state().midi_done.push_back({&header, time_of(at)});
        callback_(header);
    }

    // Hands every queued buffer back now, as a reset does.
    void return_all() {
        from_ = headless::now();
        for (MidiHeader* header : sequencer.reset(*this))
            done(0, *header);
    }

    MidiSequencer sequencer{1000.0};

  private:
    std::uint64_t time_of(double at) const { return from_ + static_cast<std::uint64_t>(at); }

    MidiDoneCallback callback_;
    std::uint64_t from_ = 0;
};

MidiResult midi_stream_open(MidiStream*& stream, MidiDoneCallback callback) {
    headless::AudioState& audio = headless::audio_state();
    if (!audio.midi_present || audio.stream != nullptr)
        return MidiResult::NoDevice;
    stream = audio.stream = new MidiStream(callback);
    return MidiResult::Ok;
}

MidiResult midi_stream_set_time_division(MidiStream& stream, std::uint32_t time_division) {
    return stream.sequencer.set_time_division(time_division) ? MidiResult::Ok
                                                             : MidiResult::InvalidParameter;
}

MidiResult midi_prepare_header(MidiStream&, MidiHeader& header) {
    return prepare_midi_header(header);
}

MidiResult midi_unprepare_header(MidiStream&, MidiHeader& header) {
    return unprepare_midi_header(header);
}

MidiResult midi_stream_out(MidiStream& stream, MidiHeader& header) {
    return stream.sequencer.queue(header);
}

MidiResult midi_stream_restart(MidiStream& stream) {
    stream.sequencer.restart();
    return MidiResult::Ok;
}

MidiResult midi_stream_pause(MidiStream& stream) {
    stream.sequencer.pause(stream);
    return MidiResult::Ok;
}

MidiResult midi_stream_reset(MidiStream& stream) {
    stream.return_all();
    return MidiResult::Ok;
}

MidiResult midi_stream_close(MidiStream* stream) {
    headless::AudioState& audio = headless::audio_state();
    if (audio.stream == stream)
        audio.stream = nullptr;
    delete stream;
    return MidiResult::Ok;
}

} // namespace platform

namespace headless {

void advance_audio(std::uint64_t from, std::uint64_t to) {
    if (platform::MidiStream* stream = audio_state().stream)
        stream->advance(from, to);
}

const std::vector<MidiDone>& midi_done_log() {
    return audio_state().midi_done;
}

const std::vector<MidiShortMessage>& midi_message_log() {
    return audio_state().midi_messages;
}

void set_midi_device_present(bool present) {
    audio_state().midi_present = present;
}

bool midi_stream_is_open() {
    return audio_state().stream != nullptr;
}

} // namespace headless
