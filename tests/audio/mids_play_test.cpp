#include "audio/mids_player.h"
#include "formats/riff_builder.h"
#include "platform/headless/audio.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace {

using riff::Bytes;

// Three buffers of one note each, lasting 100, 200 and 300 ms: at the default
// tempo a quarter note lasts 500 ms, and it is divided into 500 ticks.
Bytes three_buffers() {
    std::vector<Bytes> blocks;
    for (int i = 1; i <= 3; ++i) {
        const int note = 60 + i;
        const auto ticks = static_cast<std::uint32_t>(100 * i);
        blocks.push_back(riff::stream_events(
            {{0, riff::note_on(0, note, 100), {}}, {ticks, riff::note_off(0, note), {}}}));
    }
    return riff::mids_file(500, 64, 0, blocks);
}

class MidsPlay : public testing::Test {
  protected:
    void SetUp() override {
        headless::reset();
        image = three_buffers();
        ASSERT_EQ(mids_open(player, image.data(), static_cast<std::uint32_t>(image.size()),
                            mids_source_memory),
                  MidsResult::Ok);
    }
    void TearDown() override { EXPECT_EQ(mids_close(player), MidsResult::Ok); }

    // Which buffer came back, and when.
    std::vector<std::pair<int, std::uint64_t>> returned() const {
        std::vector<std::pair<int, std::uint64_t>> result;
        for (const headless::MidiDone& done : headless::midi_done_log())
            result.emplace_back(static_cast<int>(done.header - player->buffers.data()), done.time);
        return result;
    }

    std::vector<std::uint64_t> note_on_times() const {
        std::vector<std::uint64_t> times;
        for (const headless::MidiShortMessage& message : headless::midi_message_log())
            if ((message.message & 0xF0) == 0x90)
                times.push_back(message.time);
        return times;
    }

    Bytes image;
    MidsPlayer* player = nullptr;
};

TEST_F(MidsPlay, LoopingPlaysTheFirstBufferRightAfterTheLast) {
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    EXPECT_EQ(player->queued_count.load(), 3u);
    headless::advance(1150);
    using Returned = std::vector<std::pair<int, std::uint64_t>>;
    EXPECT_EQ(returned(), (Returned{{0, 100}, {1, 300}, {2, 600}, {0, 700}, {1, 900}}));
    EXPECT_EQ(note_on_times(), (std::vector<std::uint64_t>{0, 100, 300, 600, 700, 900}));
    EXPECT_EQ(player->queued_count.load(), 3u);
}

TEST_F(MidsPlay, WithoutLoopingEveryBufferComesBackOnce) {
    ASSERT_EQ(mids_play(player, 0), MidsResult::Ok);
    headless::advance(2000);
    EXPECT_EQ(returned().size(), 3u);
    EXPECT_EQ(player->queued_count.load(), 0u);
    EXPECT_EQ(note_on_times().size(), 3u);
}

TEST_F(MidsPlay, StoppingTakesEveryBufferBackAndQueuesNothingAgain) {
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    headless::advance(150);
    ASSERT_EQ(returned().size(), 1u);
    ASSERT_EQ(mids_stop(player), MidsResult::Ok);
    // All three came back at the stop, none went back into the queue.
    EXPECT_EQ(returned().size(), 4u);
    EXPECT_EQ(player->queued_count.load(), 0u);
    for (const platform::MidiHeader& header : player->buffers)
        EXPECT_EQ(header.flags & (platform::midi_header_queued | platform::midi_header_prepared),
                  0u);
    EXPECT_EQ(player->stream, nullptr);
    EXPECT_EQ(player->play_flags.load(), 0u);
    const std::size_t messages = headless::midi_message_log().size();
    headless::advance(2000);
    EXPECT_EQ(headless::midi_message_log().size(), messages);
    EXPECT_EQ(mids_stop(player), MidsResult::WrongState);
}

TEST_F(MidsPlay, PlayingAgainStartsFromTheFirstBuffer) {
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    headless::advance(350);
    ASSERT_EQ(mids_stop(player), MidsResult::Ok);
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    const std::size_t before = headless::midi_done_log().size();
    headless::advance(100);
    ASSERT_EQ(headless::midi_done_log().size(), before + 1);
    EXPECT_EQ(headless::midi_done_log().back().header, &player->buffers[0]);
}

TEST_F(MidsPlay, PlayOnAPlayingStreamChangesNothing) {
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    headless::advance(50);
    const std::uint32_t flags = player->play_flags.load();
    EXPECT_EQ(mids_play(player, 0), MidsResult::WrongState);
    EXPECT_EQ(player->play_flags.load(), flags);
    EXPECT_EQ(player->queued_count.load(), 3u);
    headless::advance(1000);
    EXPECT_EQ(player->queued_count.load(), 3u); // still looping
}

TEST_F(MidsPlay, PauseHoldsThePlaceAndPlayResumesIt) {
    EXPECT_EQ(mids_pause(player), MidsResult::WrongState);
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    headless::advance(50);
    ASSERT_EQ(mids_pause(player), MidsResult::Ok);
    EXPECT_EQ(mids_pause(player), MidsResult::Ok);
    EXPECT_TRUE(player->play_flags.load() & mids_paused);
    headless::advance(1000);
    EXPECT_TRUE(headless::midi_done_log().empty());
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    EXPECT_FALSE(player->play_flags.load() & mids_paused);
    headless::advance(49);
    EXPECT_TRUE(headless::midi_done_log().empty());
    headless::advance(1);
    ASSERT_EQ(returned().size(), 1u);
    EXPECT_EQ(returned()[0], std::make_pair(0, std::uint64_t{1100}));
}

TEST_F(MidsPlay, StoppingAPausedStreamClosesIt) {
    ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
    ASSERT_EQ(mids_pause(player), MidsResult::Ok);
    ASSERT_EQ(mids_stop(player), MidsResult::Ok);
    EXPECT_EQ(player->queued_count.load(), 0u);
    EXPECT_EQ(player->stream, nullptr);
}

TEST_F(MidsPlay, WithoutAMidiDeviceTheStreamCannotOpen) {
    headless::set_midi_device_present(false);
    EXPECT_EQ(mids_play(player, mids_play_loop), MidsResult::DeviceError);
    EXPECT_EQ(player->stream, nullptr);
    EXPECT_EQ(mids_pause(player), MidsResult::WrongState);
    headless::set_midi_device_present(true);
    EXPECT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
}

TEST_F(MidsPlay, ATimeDivisionTheDeviceRefusesClosesTheStreamAgain) {
    player->time_format = 0;
    EXPECT_EQ(mids_play(player, mids_play_loop), MidsResult::DeviceError);
    EXPECT_EQ(player->stream, nullptr);
    EXPECT_EQ(player->queued_count.load(), 0u);
    // The device is free again for the next try.
    player->time_format = 500;
    EXPECT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
}

TEST(MidsHandle, APlayerThatIsNotOpenIsRefused) {
    MidsPlayer player;
    EXPECT_EQ(mids_play(&player, 0), MidsResult::BadHandle);
    EXPECT_EQ(mids_pause(&player), MidsResult::BadHandle);
    EXPECT_EQ(mids_stop(&player), MidsResult::BadHandle);
    EXPECT_EQ(mids_close(&player), MidsResult::BadHandle);
    EXPECT_EQ(mids_play(nullptr, 0), MidsResult::BadHandle);
}

} // namespace
