#include "app/program_state.h"
#include "audio/music.h"
#include "formats/riff_builder.h"
#include "platform/headless/audio.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "res/test_files.h"

#include <gtest/gtest.h>

namespace {

class Music : public testing::Test {
  protected:
    void SetUp() override {
        reset_program_state();
        headless::reset();
        write_file("QMBLOKIT.MDS", riff::melody());
    }
    void TearDown() override { music_stop(); }

    std::size_t notes_after(std::uint64_t ms) {
        headless::advance(ms);
        return headless::midi_message_log().size();
    }

    ScratchDirectory directory;
};

TEST_F(Music, PlaysTheFileLoopingUntilStopped) {
    ASSERT_TRUE(music_start("QMBLOKIT.MDS", true));
    // Counted from a moment between two notes, a pass of the tune at a time.
    const std::size_t start = notes_after(250);
    const std::size_t one_pass = notes_after(8000) - start;
    EXPECT_GT(one_pass, 0u);
    EXPECT_EQ(notes_after(8000), start + 2 * one_pass);
    music_stop();
    EXPECT_EQ(notes_after(8000), start + 2 * one_pass);
    music_stop(); // nothing left to stop
    // The stream was closed: the music can start again.
    EXPECT_TRUE(music_start("QMBLOKIT.MDS", true));
}

TEST_F(Music, WithoutThePlayFlagItIsOnlyLoaded) {
    ASSERT_TRUE(music_start("QMBLOKIT.MDS", false));
    EXPECT_EQ(notes_after(2000), 0u);
}

TEST_F(Music, SwitchedOffItStandsStillAndSwitchedOnItPlaysOnOrStarts) {
    ASSERT_TRUE(music_start("QMBLOKIT.MDS", true));
    const std::size_t before = notes_after(1000);
    switch_music(false);
    EXPECT_FALSE(music_on);
    EXPECT_EQ(notes_after(3000), before);
    switch_music(false);
    EXPECT_EQ(notes_after(1000), before);
    switch_music(true);
    EXPECT_GT(notes_after(1000), before);
    // Loaded but never started, as when the music was off at start-up.
    ASSERT_TRUE(music_start("QMBLOKIT.MDS", false));
    EXPECT_FALSE(headless::midi_stream_is_open());
    const std::size_t unstarted = notes_after(1000);
    switch_music(true);
    EXPECT_GT(notes_after(1000), unstarted);
    // Without music loaded the choice is only kept.
    music_stop();
    switch_music(false);
    EXPECT_FALSE(music_on);
}

TEST_F(Music, StartingAgainReplacesTheMusicPlaying) {
    ASSERT_TRUE(music_start("QMBLOKIT.MDS", true));
    headless::advance(1000);
    // The device has room for one stream: the first one must have been closed.
    ASSERT_TRUE(music_start("QMBLOKIT.MDS", true));
    const std::size_t before = headless::midi_message_log().size();
    // The tune opens with two program changes and two notes.
    EXPECT_EQ(notes_after(250), before + 4);
}

TEST_F(Music, AMissingFileShowsTheLoadingBox) {
    EXPECT_FALSE(music_start("NOTHERE.MDS", true));
    ASSERT_EQ(headless::shown_boxes().size(), 1u);
    EXPECT_EQ(headless::shown_boxes()[0].text, "NOTHERE.MDS");
    EXPECT_EQ(headless::shown_boxes()[0].caption, "Error loading file");
}

TEST_F(Music, FailsQuietlyWithoutAMidiDeviceOrWithABrokenFile) {
    headless::set_midi_device_present(false);
    EXPECT_FALSE(music_start("QMBLOKIT.MDS", true));
    headless::set_midi_device_present(true);
    riff::Bytes broken = riff::melody();
    broken.resize(broken.size() / 2);
    write_file("QMBLOKIT.MDS", broken);
    EXPECT_FALSE(music_start("QMBLOKIT.MDS", true));
    EXPECT_TRUE(headless::shown_boxes().empty());
    EXPECT_EQ(notes_after(1000), 0u);
}

} // namespace
