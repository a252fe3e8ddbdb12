#include "app/program_state.h"
#include "audio/sound_effects.h"
#include "formats/riff_builder.h"
#include "platform/headless/audio.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "res/test_files.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr std::array<const char*, sound_effect_count> file_names = {
    "WURF.WAV", "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV", "START.WAV", "LACH.WAV", "TSCHAU.WAV",
};

// 200 ms of 16-bit mono sound at 8000 frames a second.
riff::Bytes effect_file() {
    return riff::wave_file(riff::pcm_format(1, 8000, 16), riff::tone_samples(8000, 200, 440, 0.5));
}

class SoundEffects : public testing::Test {
  protected:
    void SetUp() override {
        reset_program_state();
        headless::reset();
        for (const char* name : file_names)
            write_file(name, effect_file());
    }
    void TearDown() override { release_sound_effects(); }

    void expect_loaded(bool loaded) {
        for (int i = 0; i < sound_effect_count; ++i)
            EXPECT_EQ(effect_buffer(static_cast<SoundEffect>(i)) != nullptr, loaded) << i;
    }

    ScratchDirectory directory;
};

TEST_F(SoundEffects, LoadsAllSevenAndPlaysEachFromItsOwnBuffer) {
    ASSERT_TRUE(load_sound_effects());
    expect_loaded(true);
    EXPECT_TRUE(headless::shown_boxes().empty());
    play_effect(SoundEffect::Lach);
    play_effect(SoundEffect::Wurf);
    ASSERT_EQ(headless::effect_log().size(), 2u);
    EXPECT_EQ(headless::effect_log()[0].buffer, effect_buffer(SoundEffect::Lach));
    EXPECT_EQ(headless::effect_log()[1].buffer, effect_buffer(SoundEffect::Wurf));
    EXPECT_NE(effect_buffer(SoundEffect::Lach), effect_buffer(SoundEffect::Wurf));
}

TEST_F(SoundEffects, ASecondTriggerWhileSoundingDoesNotRestart) {
    ASSERT_TRUE(load_sound_effects());
    play_effect(SoundEffect::Wurf);
    headless::advance(150);
    play_effect(SoundEffect::Wurf);
    headless::advance(50); // the first trigger's 200 ms are over
    play_effect(SoundEffect::Wurf);
    const auto& log = headless::effect_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(log[0].started);
    EXPECT_FALSE(log[1].started);
    EXPECT_TRUE(log[2].started);
    EXPECT_EQ(log[2].time, 200u);
}

TEST_F(SoundEffects, WithoutASoundDeviceTheGameIsSilent) {
    headless::set_sound_device_present(false);
    EXPECT_FALSE(load_sound_effects());
    expect_loaded(false);
    for (int i = 0; i < sound_effect_count; ++i)
        play_effect(static_cast<SoundEffect>(i));
    EXPECT_TRUE(headless::effect_log().empty());
    EXPECT_TRUE(headless::shown_boxes().empty());
}

TEST_F(SoundEffects, AMissingFileShowsOneBoxAndLeavesOnlyThatEffectSilent) {
    std::filesystem::remove("START.WAV");
    ASSERT_TRUE(load_sound_effects());
    ASSERT_EQ(headless::shown_boxes().size(), 1u);
    EXPECT_EQ(headless::shown_boxes()[0].text, "START.WAV");
    EXPECT_EQ(headless::shown_boxes()[0].caption, "Error reading file");
    EXPECT_EQ(headless::shown_boxes()[0].icon, platform::BoxIcon::Warning);
    EXPECT_EQ(effect_buffer(SoundEffect::Start), nullptr);
    EXPECT_NE(effect_buffer(SoundEffect::Lach), nullptr);
    play_effect(SoundEffect::Start);
    play_effect(SoundEffect::Start);
    EXPECT_TRUE(headless::effect_log().empty());
}

TEST_F(SoundEffects, FilesInOtherLayoutsLoad) {
    const riff::Bytes format = riff::pcm_format(2, 11025, 8);
    const riff::Bytes samples(11025 * 2 / 10, 0x80);
    const riff::Bytes list = riff::chunk("LIST", riff::Bytes(3, 'x'));
    write_file("WURF.WAV", riff::form("WAVE", {list, riff::chunk("fmt ", format),
                                               riff::chunk("data", samples)}));
    write_file("REIHEN.WAV",
               riff::form("WAVE", {riff::chunk("data", samples), riff::chunk("fmt ", format)}));
    load_sound_effects();
    EXPECT_NE(effect_buffer(SoundEffect::Wurf), nullptr);
    EXPECT_NE(effect_buffer(SoundEffect::Reihen), nullptr);
}

TEST_F(SoundEffects, UnusableFilesLeaveTheEffectAbsentWithoutABox) {
    riff::Bytes not_wave = effect_file();
    not_wave[8] = 'X';
    write_file("WURF.WAV", not_wave);
    // Too short to say how many bits a sample has.
    riff::Bytes short_format = riff::pcm_format(1, 8000, 16);
    short_format.resize(14);
    write_file("REIHEN.WAV", riff::wave_file(short_format, riff::Bytes(100, 0)));
    write_file("VIERER.WAV", riff::wave_file(riff::pcm_format(1, 8000, 12), riff::Bytes(99, 0)));
    write_file("LACH.WAV", riff::wave_file(riff::pcm_format(1, 8000, 16), {}));
    write_file("GAMEOVER.WAV", riff::wave_file(riff::pcm_format(1, 0xFFFFFFFF, 16), {1, 2}));
    write_file("START.WAV", riff::wave_file(riff::pcm_format(1, 99, 16), {1, 2}));
    ASSERT_TRUE(load_sound_effects());
    EXPECT_EQ(effect_buffer(SoundEffect::Wurf), nullptr);
    EXPECT_EQ(effect_buffer(SoundEffect::Reihen), nullptr);
    EXPECT_EQ(effect_buffer(SoundEffect::Vierer), nullptr);
    EXPECT_EQ(effect_buffer(SoundEffect::Lach), nullptr);
    EXPECT_EQ(effect_buffer(SoundEffect::GameOver), nullptr);
    EXPECT_EQ(effect_buffer(SoundEffect::Start), nullptr);
    EXPECT_NE(effect_buffer(SoundEffect::Tschau), nullptr);
    EXPECT_TRUE(headless::shown_boxes().empty());
}

TEST_F(SoundEffects, ReleasedEffectsPlayNothing) {
    ASSERT_TRUE(load_sound_effects());
    release_sound_effects();
    expect_loaded(false);
    play_effect(SoundEffect::Tschau);
    EXPECT_TRUE(headless::effect_log().empty());
}

} // namespace
