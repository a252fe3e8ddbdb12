#include "app/app_fixture.h"
#include "app/screen_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "app/credits.h"
#include "app/high_scores.h"
#include "app/win_main.h"
#include "app/window_proc.h"
#include "data/run_directory.h"
#include "game/player.h"
#include "game/session.h"
#include "platform/headless/audio.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/user_paths.h"

namespace fs = std::filesystem;
using platform::BoxAnswer;
using platform::MessageKind;
using platform::vk::Control;
using platform::vk::Escape;
using platform::vk::Return;
using platform::vk::Space;

namespace {

// What the last frame shows is the advert: black bands over and under it.
void expect_advert_last() {
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(count_other(*frame, 0, 0, 640, 40, 0), 0);
    EXPECT_EQ(count_other(*frame, 0, 440, 640, 480, 0), 0);
    EXPECT_GT(count_other(*frame, 0, 40, 640, 440, 0), 640 * 200);
}

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Short MIDI messages the music played from `from` to `to` ms.
long music_messages_between(std::uint64_t from, std::uint64_t to) {
    const auto& log = headless::midi_message_log();
    return std::count_if(log.begin(), log.end(), [&](const headless::MidiShortMessage& message) {
        return message.time >= from && message.time < to;
    });
}

// The title screen first waits for the key that ended the screen before it
// to be released; a title key pressed after that decides there.
void leave_screen_with_title_key(std::uint64_t at, int screen_key, int title_key) {
    tap(screen_key, at);
    tap(title_key, at + 100);
}

} // namespace

class WholeProgramTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        provide_data({"DATA.ONE", "AUDIO.ONE", "QMBLOKIT.MDS"});
        // The system makes a newly shown window the active one.
        headless::post({MessageKind::ActivateApp, 1});
    }
    // A table of ten empty rows, so that any result enters it.
    static void write_empty_high_score_table() {
        high_scores = {};
        ASSERT_TRUE(save_high_scores());
    }
};

TEST_F(WholeProgramTest, AOnePlayerGameFromStartToExitLeavesTheTableAndTheSettings) {
    write_empty_high_score_table();
    // Every frame of the run as PNG, to look at, when asked for.
    if (const char* directory = std::getenv("BLOKIT_SCENARIO_FRAMES"))
        headless::write_frames_to(directory);
    headless::answer_next_box(BoxAnswer::No);
    leave_screen_with_title_key(1500, Space, key_1);
    for (std::uint64_t drop = 3000; drop < 5000; drop += 400)
        tap(Control, drop, 60);
    tap(Escape, 5500);
    type_text("ANNA", 7000);
    tap(Return, 7600);
    tap(Space, 8500);
    tap(Escape, 10000);
    tap(Space, 11000);

    EXPECT_EQ(WinMain(), 0);
    headless::write_frames_to("");

    const auto& boxes = headless::shown_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "QM-Blokit");
    EXPECT_EQ(boxes[0].buttons, platform::BoxButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, platform::BoxIcon::Information);
    EXPECT_FALSE(boxes[0].owned);
    EXPECT_TRUE(ends_with(boxes[0].text, "\n\nDo you want to play Blokit in fullscreen-mode?"));
    const headless::WindowInfo window = headless::window_info();
    EXPECT_EQ(window.title, "QM - Blokit");
    EXPECT_EQ(window.style, platform::WindowStyle::Overlapped);
    EXPECT_EQ(window.client_width, 640);
    EXPECT_EQ(window.client_height, 480);
    // The icon from the data: see-through corner, opaque blocks.
    ASSERT_EQ(window.icon_width, 64);
    ASSERT_EQ(window.icon_height, 64);
    ASSERT_EQ(window.icon_rgba.size(), 64u * 64u * 4u);
    EXPECT_EQ(window.icon_rgba[3], 0);
    const std::size_t middle_of_lower_right_block = (56u * 64u + 48u) * 4u;
    EXPECT_EQ(window.icon_rgba[middle_of_lower_right_block + 3], 255);
    EXPECT_GE(headless::now(), 11000u);
    expect_advert_last();

    ASSERT_EQ(fs::file_size(scratch_ / "HISCORE.DAT"), 424u);
    load_high_scores();
    EXPECT_STREQ(high_scores[0].name.data(), "ANNA");
    EXPECT_GT(high_scores[0].score, 0);
    EXPECT_EQ(high_scores[1].score, 0);
    EXPECT_EQ(stored_setting("Options"), "0 0");
    EXPECT_EQ(stored_setting("Music"), "1");
    // The game's replay, named by its number and the result in the table.
    const std::string replay_name = "000001-" + std::to_string(high_scores[0].score) + "-" +
                                    std::to_string(high_scores[0].rows) + "-" +
                                    std::to_string(high_scores[0].level) + ".bkr";
    EXPECT_TRUE(fs::is_regular_file(scratch_ / platform::replay_folder_name() / replay_name))
        << replay_name;
}

TEST_F(WholeProgramTest, AReplayThatCannotBePlayedIsRefusedBeforeAnythingElse) {
    // The version of this program, and too short for anything else.
    std::ofstream(scratch_ / "damaged.bkr") << std::string("BKRP\x01\x00\x01\x02", 8);
    for (const char* file : {"missing.bkr", "damaged.bkr"})
        EXPECT_EQ(WinMain(platform::show_normal, file), 1);
    const auto& boxes = headless::shown_boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "The replay file cannot be read.");
    EXPECT_EQ(boxes[1].text, "This replay file is damaged.");
    EXPECT_EQ(boxes[1].caption, "Blokit replay");
    EXPECT_FALSE(boxes[1].owned);
    EXPECT_EQ(headless::frames_presented(), 0u);
    EXPECT_FALSE(headless::midi_stream_is_open());
}

TEST_F(WholeProgramTest, EscapeOnTheTitleGoesStraightToTheAdvert) {
    leave_screen_with_title_key(1500, Return, Escape);
    tap(Return, 4000);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_GE(headless::now(), 4000u);
    EXPECT_LT(headless::now(), 4100u);
    // Black, the logo, the title background and the 60 steps of the slide;
    // black, the advert.
    ASSERT_EQ(headless::frames_presented(), 65u);
    const Image background = load_pix_resource("TITELS.PIX");
    ASSERT_EQ(background.width, 640);
    EXPECT_EQ(headless::frame(2)->pixels, background.pixels);
    expect_advert_last();
    // No game was played, so no table was shown or written.
    EXPECT_FALSE(fs::exists(scratch_ / "HISCORE.DAT"));
}

TEST_F(WholeProgramTest, ClosingTheWindowInAGameSkipsTheTableAndStillKeepsTheKeySet) {
    leave_screen_with_title_key(1500, Space, key_1);
    tap(platform::vk::F1, 3000);
    headless::post_at(4000, {MessageKind::Close, 0});
    EXPECT_EQ(WinMain(), 0);
    EXPECT_LT(headless::now(), 4100u);
    EXPECT_FALSE(fs::exists(scratch_ / "HISCORE.DAT"));
    // The key set chosen with F1 in the game is stored by the shut-down.
    EXPECT_EQ(stored_setting("Options"), "1 0");
}

TEST_F(WholeProgramTest, AnotherApplicationInFrontHoldsTheGameAndTheReturnRestoresTheSurfaces) {
    leave_screen_with_title_key(1500, Space, key_1);
    headless::post_at(1600, {MessageKind::ActivateApp, 0});
    // Active this long, the pieces would have piled up to the top long ago.
    headless::post_at(400000, {MessageKind::ActivateApp, 1});
    tap(Escape, 400500);
    tap(Space, 402000);
    tap(Escape, 404000);
    tap(Space, 405000);
    // Should the script go astray, closing the window still ends the run.
    headless::post_at(500000, {MessageKind::Close, 0});
    EXPECT_EQ(WinMain(), 0);
    EXPECT_LT(headless::now(), 500000u);
    EXPECT_EQ(players[0].score, 0);
    EXPECT_EQ(players[0].state, 0); // ended by Escape, not by topping out
    EXPECT_GE(headless::restores().size(), 2u);
    expect_advert_last();
}

TEST_F(WholeProgramTest, TheStoredKeySetIsReadAtStartAndWrittenBackAtTheEnd) {
    store_setting("Options", "1 1");
    leave_screen_with_title_key(1500, Escape, Escape);
    tap(Escape, 3500);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(stored_setting("Options"), "1 1");
}

TEST_F(WholeProgramTest, MSwitchesTheMusicInAGameAlsoPausedAndTheChoiceIsKept) {
    constexpr int key_m = 'M';
    leave_screen_with_title_key(1500, Space, key_2);
    tap(key_m, 2500);
    tap('P', 3500);
    tap(key_m, 4000);
    tap('P', 5500);
    tap(key_m, 6500);
    tap(Control, 7000); // the right player drops a piece
    tap(Escape, 8000);
    leave_screen_with_title_key(9500, Return, Escape);
    tap(Space, 11500);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_GT(music_messages_between(1600, 2500), 0);
    EXPECT_EQ(music_messages_between(2600, 3500), 0);
    EXPECT_GT(music_messages_between(4100, 5500), 0);
    EXPECT_EQ(music_messages_between(6600, 8000), 0);
    // The drop is heard with the music off.
    const auto& effects = headless::effect_log();
    EXPECT_TRUE(std::any_of(effects.begin(), effects.end(), [](const headless::EffectTrigger& e) {
        return e.time > 7000 && e.time < 8000;
    }));
    EXPECT_EQ(stored_setting("Music"), "0");
}

TEST_F(WholeProgramTest, MusicSwitchedOffInTheSettingsNeverSoundsWhileTheEffectsDo) {
    store_setting("Music", "0");
    leave_screen_with_title_key(1500, Space, key_2);
    tap(Control, 3000);
    tap(Escape, 4000);
    leave_screen_with_title_key(5000, Return, Escape);
    tap(Space, 7000);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_TRUE(headless::midi_message_log().empty());
    EXPECT_GE(headless::effect_log().size(), 2u);
    EXPECT_EQ(stored_setting("Music"), "0");
}

TEST_F(WholeProgramTest, AScriptThatForgetsItsLastKeyFailsNamingTheWaitWithinASecond) {
    leave_screen_with_title_key(1500, Space, key_2);
    tap(Escape, 3000);
    // The match result waits for a key that never comes; the script's last
    // event is the Escape's release at 3040.
    EXPECT_DEATH(WinMain(), "at 4... ms, nothing more is scripted that could end the "
                            "match result");
}

TEST_F(WholeProgramTest, EscapeOnTheTwoPlayerResultLeadsBackToTheTitle) {
    leave_screen_with_title_key(1500, Space, key_2);
    tap(Escape, 4000);
    // Escape leaves the result for the title, which ends the program only
    // at the next Escape.
    tap(Escape, 5000);
    tap(Escape, 7500);
    tap(Space, 9000);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_GE(headless::now(), 9000u);
    EXPECT_LT(headless::now(), 9100u);
    EXPECT_EQ(player_count, 2);
    EXPECT_FALSE(fs::exists(scratch_ / "HISCORE.DAT"));
    expect_advert_last();
}

TEST_F(WholeProgramTest, ADisplayThatCannotOpenStopsTheMusicBeforeTheEnd) {
    headless::answer_next_box(BoxAnswer::No);
    headless::answer_next_box(BoxAnswer::Ok);
    headless::fail_video_call(headless::VideoCall::CreateDevice, platform::Result::Generic);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_FALSE(headless::midi_stream_is_open());
}

TEST_F(WholeProgramTest, YesOpensTheFullScreen) {
    headless::answer_next_box(BoxAnswer::Yes);
    leave_screen_with_title_key(1500, Escape, Escape);
    tap(Escape, 3500);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(headless::window_info().style, platform::WindowStyle::Popup);
}

// A display that cannot switch is said so in plain words, over the window
// the game then plays in, and the program goes on to its normal end.
TEST_F(WholeProgramTest, YesOnADisplayWithoutTheModePlaysInAWindow) {
    headless::answer_next_box(BoxAnswer::Yes);
    headless::fail_video_call(headless::VideoCall::SetDisplayMode, platform::Result::Unsupported);
    leave_screen_with_title_key(1500, Escape, Escape);
    tap(Escape, 3500);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(headless::window_info().style, platform::WindowStyle::Overlapped);
    EXPECT_EQ(headless::window_info().client_width, 640);
    ASSERT_EQ(headless::shown_boxes().size(), 2u);
    const headless::ShownBox& box = headless::shown_boxes()[1];
    EXPECT_EQ(box.text, "This display cannot switch to full screen (640 x 480 pixels, 256 "
                        "colours), so Blokit plays in a window.");
    EXPECT_TRUE(box.owned);
    EXPECT_EQ(box.cursor_count, 1); // as in a game started windowed
    expect_advert_last();
}

TEST_F(WholeProgramTest, GermanUsersGetGermanTextsWhateverTheirRegion) {
    for (const std::uint16_t lang_id : {0x0407, 0x0807}) {
        headless::reset(1000);
        headless::set_user_lang_id(lang_id);
        headless::post({MessageKind::ActivateApp, 1});
        quit_requested = false;
        window_destroyed = false;
        leave_screen_with_title_key(1500, Escape, Escape);
        tap(Escape, 3500);
        EXPECT_EQ(WinMain(), 0);
        EXPECT_FALSE(use_english);
        ASSERT_EQ(headless::shown_boxes().size(), 1u);
        EXPECT_EQ(headless::shown_boxes()[0].caption, "QM-Blokit");
        EXPECT_TRUE(ends_with(headless::shown_boxes()[0].text,
                              "\n\nMöchtest du das Spiel im Vollbildmodus spielen?"));
        EXPECT_EQ(headless::shown_boxes()[0].text, credits_text(false));
    }
}

TEST_F(WholeProgramTest, OtherLanguagesGetEnglishTexts) {
    headless::set_user_lang_id(0x0411);
    leave_screen_with_title_key(1500, Escape, Escape);
    tap(Escape, 3500);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_TRUE(use_english);
    ASSERT_FALSE(headless::shown_boxes().empty());
    EXPECT_EQ(headless::shown_boxes()[0].text, credits_text(true));
}

class MissingMusicTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        provide_data({"DATA.ONE", "AUDIO.ONE"});
        headless::post({MessageKind::ActivateApp, 1});
    }
    static void expect_music_box() {
        // The music player names the missing file first.
        const auto& boxes = headless::shown_boxes();
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[1].text, "QMBLOKIT.MDS");
        EXPECT_EQ(boxes[2].caption, "MIDI");
        EXPECT_EQ(boxes[2].text, "Unable to play music!");
        EXPECT_EQ(boxes[2].buttons, platform::BoxButtons::OkCancel);
        EXPECT_FALSE(boxes[2].owned);
        // The pointer shows while the box is up, an arrow, and no pointer
        // is set again after it.
        EXPECT_EQ(boxes[2].cursor_count, boxes[0].cursor_count + 1);
        EXPECT_EQ(headless::current_cursor(), platform::Cursor::None);
    }
};

TEST_F(MissingMusicTest, OkGoesOnWithoutMusic) {
    headless::answer_next_box(BoxAnswer::No);
    headless::answer_next_box(BoxAnswer::Ok);
    headless::answer_next_box(BoxAnswer::Ok);
    leave_screen_with_title_key(1500, Escape, Escape);
    tap(Space, 3500);
    EXPECT_EQ(WinMain(), 0);
    expect_music_box();
    EXPECT_GE(headless::now(), 3500u);
    expect_advert_last();
}

TEST_F(MissingMusicTest, CancelEndsTheProgramAfterTheLogoAndTheAdvert) {
    headless::answer_next_box(BoxAnswer::No);
    headless::answer_next_box(BoxAnswer::Ok);
    headless::answer_next_box(BoxAnswer::Cancel);
    // The logo would wait for this key; the posted quit ends it first.
    tap(Return, 3000);
    EXPECT_EQ(WinMain(), 0);
    expect_music_box();
    // The advert waited for the key, and no title screen came in between.
    EXPECT_GE(headless::now(), 3000u);
    EXPECT_LT(headless::now(), 3100u);
    EXPECT_EQ(headless::frames_presented(), 4u);
    expect_advert_last();
}

TEST_F(MissingMusicTest, ADisplayThatCannotOpenEndsTheProgramWithoutAScreen) {
    headless::answer_next_box(BoxAnswer::No);
    headless::answer_next_box(BoxAnswer::Ok);
    headless::fail_video_call(headless::VideoCall::CreateDevice, platform::Result::Generic);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(headless::frames_presented(), 0u);
}
