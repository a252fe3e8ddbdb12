#include "audio/mids_player.h"
#include "formats/riff_builder.h"
#include "platform/midi_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
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

// The stream as the random calls below leave it, for the done callback.
std::atomic<platform::MidiStream*> churned_stream{nullptr};
std::atomic<bool> churn_loops{false};

void churn_done(platform::MidiHeader& header) {
    if (churn_loops)
        platform::midi_stream_out(*churned_stream.load(), header);
}

// Every call of the stream, thousands of times in random order and at random
// moments, while the audio thread plays and queues buffers again as they come
// back and a SoundFont loads after each opening: a reset always hands every
// buffer back, and nothing is used after it is freed (run under the
// sanitizers).
TEST(SdlMusic, AnyCallAtAnyMomentLeavesTheStreamWhole) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    riff::Bytes events =
        riff::stream_events({{0, riff::note_on(0, 60, 80), {}}, {3, riff::note_off(0, 60), {}}});
    std::array<platform::MidiHeader, 4> headers;
    std::mt19937 random(20261208);
    platform::MidiStream* stream = nullptr;
    const auto open = [&] {
        ASSERT_EQ(platform::midi_stream_open(stream, churn_done), platform::MidiResult::Ok);
        churned_stream = stream;
        for (platform::MidiHeader& header : headers) {
            header = {events.data(), static_cast<std::uint32_t>(events.size()),
                      static_cast<std::uint32_t>(events.size())};
            ASSERT_EQ(platform::midi_prepare_header(*stream, header), platform::MidiResult::Ok);
        }
    };
    const auto reset = [&] {
        churn_loops = false;
        ASSERT_EQ(platform::midi_stream_reset(*stream), platform::MidiResult::Ok);
        for (const platform::MidiHeader& header : headers)
            ASSERT_EQ(header.flags & platform::midi_header_queued, 0u);
    };
    open();
    for (int call = 0; call < 3000; ++call) {
        // Opening is slow (the device, the SoundFont): one call in three hundred.
        if (random() % 300 == 0) {
            reset();
            ASSERT_EQ(platform::midi_stream_close(stream), platform::MidiResult::Ok);
            open();
            continue;
        }
        switch (random() % 16) {
        case 0:
        case 1:
        case 2:
            reset();
            break;
        case 3:
            platform::midi_stream_pause(*stream);
            break;
        case 4:
            platform::midi_stream_set_time_division(*stream, 1 + random() % 960);
            break;
        case 5:
        case 6:
            churn_loops = random() % 2 == 0;
            platform::midi_stream_restart(*stream);
            break;
        case 7:
        case 8:
        case 9:
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
            break;
        default: // a buffer that is not queued yet, queued
            platform::midi_stream_out(*stream, headers[random() % headers.size()]);
            break;
        }
    }
    reset();
    EXPECT_EQ(platform::midi_stream_close(stream), platform::MidiResult::Ok);
}

} // namespace
