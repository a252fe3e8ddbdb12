#include "formats/riff_builder.h"
#include "platform/midi_sequencer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using platform::MidiHeader;
using platform::MidiResult;
using platform::MidiSequencer;
using riff::Bytes;

// Records what the sequencer plays, in milliseconds of stream time.
class Recorder final : public platform::MidiSink {
  public:
    void short_message(double at, std::uint32_t message) override {
        earliest = std::min(earliest, at);
        messages.emplace_back(base + at, message);
    }
    void all_notes_off() override { ++silenced; }
    void done(double at, MidiHeader& header) override {
        earliest = std::min(earliest, at);
        returned.emplace_back(base + at, &header);
        if (requeue)
            sequencer->queue(header);
    }

    // Advances in steps of `step` ms up to `until`.
    void run(double until, double step = 10) {
        for (; base < until; base += step)
            sequencer->advance(step, *this);
    }

    MidiSequencer* sequencer = nullptr;
    bool requeue = false;
    double base = 0;
    int silenced = 0;
    double earliest = 0; // the earliest time given within an advance
    std::vector<std::pair<double, std::uint32_t>> messages;
    std::vector<std::pair<double, MidiHeader*>> returned;
};

class Sequencer : public testing::Test {
  protected:
    void SetUp() override { recorder.sequencer = &sequencer; }

    MidiHeader& add(const Bytes& events) {
        storage.push_back(events);
        MidiHeader& header = headers.emplace_back();
        header.data = storage.back().data();
        header.buffer_length = header.bytes_recorded =
            static_cast<std::uint32_t>(storage.back().size());
        EXPECT_EQ(platform::prepare_midi_header(header), MidiResult::Ok);
        EXPECT_EQ(sequencer.queue(header), MidiResult::Ok);
        return header;
    }

    std::vector<double> message_times() const {
        std::vector<double> times;
        for (const auto& [time, message] : recorder.messages)
            times.push_back(time);
        return times;
    }

    MidiSequencer sequencer{1000.0};
    Recorder recorder;
    std::deque<Bytes> storage;
    std::deque<MidiHeader> headers;
};

TEST_F(Sequencer, TempoEventsChangeTheLengthOfLaterTicks) {
    ASSERT_TRUE(sequencer.set_time_division(100));
    add(riff::stream_events({
        {0, riff::note_on(0, 60, 90), {}},
        {100, riff::tempo_event(250000), {}}, // a quarter note now lasts 250 ms
        {100, riff::note_off(0, 60), {}},
    }));
    sequencer.restart();
    recorder.run(1000);
    EXPECT_EQ(message_times(), (std::vector<double>{0, 750}));
    ASSERT_EQ(recorder.returned.size(), 1u);
    EXPECT_EQ(recorder.returned[0].first, 750);
}

TEST_F(Sequencer, FrameBasedDivisionsIgnoreTheTempo) {
    // 25 frames a second, 40 ticks a frame: a tick is one millisecond.
    ASSERT_TRUE(sequencer.set_time_division(0xE728));
    add(riff::stream_events({
        {0, riff::tempo_event(100000), {}},
        {300, riff::note_on(0, 60, 90), {}},
    }));
    sequencer.restart();
    recorder.run(500);
    EXPECT_EQ(message_times(), (std::vector<double>{300}));
}

TEST_F(Sequencer, RefusesTimeDivisionsItCannotPlay) {
    EXPECT_FALSE(sequencer.set_time_division(0));
    EXPECT_FALSE(sequencer.set_time_division(0x10000));
    EXPECT_FALSE(sequencer.set_time_division(0xE700)); // no ticks a frame
    EXPECT_TRUE(sequencer.set_time_division(1));
}

TEST_F(Sequencer, LongEventsAndNoOpsTakeTimeButPlayNothing) {
    ASSERT_TRUE(sequencer.set_time_division(500)); // a tick is a millisecond
    add(riff::stream_events({
        {10, platform::midi_event_long | 5, {0xF0, 0x7E, 0x7F, 0x09, 0xF7}},
        {10, 0x02000000, {}},
        {10, riff::note_on(0, 64, 90), {}},
    }));
    sequencer.restart();
    recorder.run(100);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0], std::make_pair(30.0, riff::note_on(0, 64, 90)));
}

TEST_F(Sequencer, ARecordThatDoesNotFitEndsItsBuffer) {
    ASSERT_TRUE(sequencer.set_time_division(500));
    Bytes events = riff::stream_events({{0, riff::note_on(0, 60, 90), {}},
                                        {5, platform::midi_event_long | 64, {}},
                                        {5, riff::note_on(0, 62, 90), {}}});
    MidiHeader& first = add(events);
    Bytes partial = riff::stream_events({{0, riff::note_on(0, 70, 90), {}}});
    partial.resize(partial.size() - 1);
    MidiHeader& second = add(partial);
    add(riff::stream_events({{0, riff::note_on(0, 72, 90), {}}}));
    sequencer.restart();
    recorder.run(100);
    // The long event claims 64 parameter bytes that are not there: the rest
    // of the first buffer is skipped; the cut record of the second too.
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].second, riff::note_on(0, 72, 90));
    ASSERT_EQ(recorder.returned.size(), 3u);
    EXPECT_EQ(recorder.returned[0].second, &first);
    EXPECT_EQ(recorder.returned[1].second, &second);
}

TEST_F(Sequencer, BuffersThatTakeNoTimeCannotHangTheStream) {
    add({});
    add(riff::stream_events({{0, riff::note_on(0, 60, 90), {}}}));
    recorder.requeue = true;
    sequencer.restart();
    recorder.run(30);
    // Each advance lets every buffer come back a bounded number of times,
    // and what was held back plays at the start of the next advance.
    EXPECT_GE(recorder.returned.size(), 3u);
    EXPECT_LE(recorder.returned.size(), 3u * 3u * 2u);
    EXPECT_GE(recorder.messages.size(), 3u);
    EXPECT_EQ(recorder.earliest, 0.0);
}

TEST_F(Sequencer, QueuesOnlyPreparedBuffersThatAreNotQueuedYet) {
    MidiHeader header;
    Bytes events = riff::stream_events({{0, riff::note_on(0, 60, 90), {}}});
    header.data = events.data();
    header.buffer_length = header.bytes_recorded = static_cast<std::uint32_t>(events.size());
    EXPECT_EQ(sequencer.queue(header), MidiResult::Unprepared);
    ASSERT_EQ(platform::prepare_midi_header(header), MidiResult::Ok);
    header.bytes_recorded = header.buffer_length + 1;
    EXPECT_EQ(sequencer.queue(header), MidiResult::InvalidParameter);
    header.bytes_recorded = header.buffer_length;
    EXPECT_EQ(sequencer.queue(header), MidiResult::Ok);
    EXPECT_EQ(sequencer.queue(header), MidiResult::InvalidParameter);
    EXPECT_EQ(platform::unprepare_midi_header(header), MidiResult::StillPlaying);
    EXPECT_EQ(sequencer.reset(recorder), std::vector<MidiHeader*>{&header});
    EXPECT_EQ(header.flags & platform::midi_header_done, platform::midi_header_done);
    EXPECT_EQ(recorder.silenced, 1);
    EXPECT_EQ(platform::unprepare_midi_header(header), MidiResult::Ok);
}

TEST_F(Sequencer, AStreamThatRanDryStartsTheNextBufferFromNow) {
    ASSERT_TRUE(sequencer.set_time_division(500));
    add(riff::stream_events({{20, riff::note_on(0, 60, 90), {}}}));
    sequencer.restart();
    recorder.run(200);
    add(riff::stream_events({{20, riff::note_on(0, 62, 90), {}}}));
    recorder.run(400);
    EXPECT_EQ(message_times(), (std::vector<double>{20, 220}));
}

} // namespace
