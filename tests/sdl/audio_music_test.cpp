#include "audio/mids_player.h"
#include "formats/riff_builder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Buffers of 5 ms each come back about twice per audio block, so stops
// often meet a buffer on its way back.
riff::Bytes short_buffers() {
    std::vector<riff::Bytes> blocks;
    for (int note = 60; note < 64; ++note)
        blocks.push_back(riff::stream_events(
            {{0, riff::note_on(0, note, 80), {}}, {5, riff::note_off(0, note), {}}}));
    return riff::mids_file(500, 64, 0, blocks); // a tick is a millisecond
}

TEST(SdlMusic, StoppingWhileBuffersComeBackOnTheAudioThreadQueuesNothing) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const riff::Bytes image = short_buffers();
    MidsPlayer* player = nullptr;
    ASSERT_EQ(mids_open(player, image.data(), static_cast<std::uint32_t>(image.size()),
                        mids_source_memory),
              MidsResult::Ok);
    for (int round = 0; round < 10; ++round) {
        ASSERT_EQ(mids_play(player, mids_play_loop), MidsResult::Ok);
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + round * 3));
        ASSERT_EQ(mids_stop(player), MidsResult::Ok);
        EXPECT_EQ(player->queued_count.load(), 0u) << "round " << round;
        for (const platform::MidiHeader& header : player->buffers)
            EXPECT_EQ(header.flags & platform::midi_header_queued, 0u);
    }
    EXPECT_EQ(mids_close(player), MidsResult::Ok);
}

} // namespace
