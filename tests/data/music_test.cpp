#include <gtest/gtest.h>

#include <map>
#include <string>

#include "audio/mids_player.h"
#include "mids_writer.h"

namespace {

// What the game's parser made of the music file, event by event.
struct ParsedEvent {
    std::uint32_t delta;
    std::uint32_t event;
};

std::vector<ParsedEvent> events_of(const MidsPlayer& player) {
    std::vector<ParsedEvent> events;
    for (const platform::MidiHeader& header : player.buffers) {
        for (std::uint32_t at = 0; at + 12 <= header.bytes_recorded; at += 12) {
            const auto word = [&](std::uint32_t offset) {
                const std::uint8_t* p = header.data + at + offset;
                return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                       std::uint32_t(p[3]) << 24;
            };
            events.push_back({word(0), word(8)});
        }
    }
    return events;
}

class MusicTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = std::string(BLOKIT_RUN_DIR) + "/QMBLOKIT.MDS";
        ASSERT_EQ(mids_open(player, path.c_str(), 0, mids_source_file), MidsResult::Ok);
        events = events_of(*player);
    }
    void TearDown() override {
        if (player != nullptr) {
            mids_close(player);
        }
    }

    MidsPlayer* player = nullptr;
    std::vector<ParsedEvent> events;
};

TEST_F(MusicTest, TheMusicParsesAndLastsMoreThanAMinute) {
    ASSERT_FALSE(events.empty());
    const std::uint32_t ticks_per_quarter = player->time_format;
    ASSERT_GT(ticks_per_quarter, 0u);
    double seconds = 0.0;
    double quarter_seconds = 0.5; // until the first tempo event
    for (const ParsedEvent& e : events) {
        seconds += e.delta * quarter_seconds / ticks_per_quarter;
        if ((e.event >> 24) == (event_tempo >> 24)) {
            quarter_seconds = (e.event & 0xFFFFFF) / 1e6;
        }
    }
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 180.0);
}

TEST_F(MusicTest, MelodyBassAndDrumsPlayAndEveryNoteEndsBeforeTheLoopPoint) {
    std::map<std::uint32_t, int> notes_per_channel;
    std::map<std::uint32_t, int> sounding; // channel and key -> open notes
    std::map<std::uint32_t, std::uint32_t> programs;
    for (const ParsedEvent& e : events) {
        if ((e.event >> 24) != 0) {
            continue;
        }
        const std::uint32_t status = e.event & 0xF0, ch = e.event & 0x0F;
        const std::uint32_t key = (e.event >> 8) & 0x7F, velocity = (e.event >> 16) & 0x7F;
        if (status == 0x90 && velocity > 0) {
            ++notes_per_channel[ch];
            ++sounding[ch << 8 | key];
        } else if (status == 0x80 || status == 0x90) {
            --sounding[ch << 8 | key];
        } else if (status == 0xC0) {
            programs[ch] = key;
        }
    }
    EXPECT_GE(notes_per_channel[0], 100) << "melody";
    EXPECT_GE(notes_per_channel[1], 100) << "bass";
    EXPECT_GE(notes_per_channel[9], 200) << "drums";
    EXPECT_EQ(programs.count(0), 1u);
    EXPECT_EQ(programs.count(1), 1u);
    for (const auto& [note, open] : sounding) {
        EXPECT_EQ(open, 0) << "channel " << (note >> 8) << " key " << (note & 0xFF);
    }
}

TEST_F(MusicTest, TheLoopJoinsWithoutAGap) {
    // The first event plays at once; the last one falls on the end of the
    // last bar, so the first buffer follows it directly.
    EXPECT_EQ(events.front().delta, 0u);
    EXPECT_EQ(events.back().event, event_nop);
    std::uint64_t ticks = 0;
    for (const ParsedEvent& e : events) {
        ticks += e.delta;
    }
    EXPECT_EQ(ticks % (4 * player->time_format), 0u);
}

} // namespace
