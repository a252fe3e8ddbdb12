// Entering a result into the table, typing its name, and the screen around it.

#include <filesystem>
#include <string>

#include "app/assets.h"
#include "app/high_scores.h"
#include "app/screen_fixture.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/sprite.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "platform/keyboard.h"
#include "support/golden_frame.h"

namespace {

using platform::vk::Backspace;
using platform::vk::Escape;
using platform::vk::Return;
using platform::vk::Space;

class NameEntryTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        load_high_scores(); // the default table, 1000 down to 550
    }

    // The table just after "LEA" was typed into row 5, in the language chosen.
    const headless::Frame& name_entered(bool english) {
        use_english = english;
        std::filesystem::remove(high_score_file_name); // the default names follow the language
        load_high_scores();
        finish_game(777);
        tap(Return, type_text("LEA", headless::now() + 100) + 100);
        enter_high_score();
        return *headless::last_frame();
    }

    void finish_game(std::int32_t score, std::int32_t level = 7, std::int32_t rows = 33) {
        players[0].score = score;
        players[0].level = level;
        players[0].rows = rows;
    }

    // Runs the name entry for a result that enters the top row of the default
    // table, typing with the script given, and returns the name.
    std::string name_typed(void (*script)()) {
        wait_keys_released({Return}); // the one that ended the last entry
        load_high_scores();
        finish_game(5000);
        script();
        enter_high_score();
        EXPECT_EQ(new_entry_row, -1);
        EXPECT_EQ(high_scores[0].score, 5000);
        return high_scores[0].name.data();
    }
};

std::vector<std::int32_t> scores() {
    std::vector<std::int32_t> result;
    for (const HighScoreEntry& entry : high_scores)
        result.push_back(entry.score);
    return result;
}

TEST_F(NameEntryTest, TheLastRowMustBeBeatenStrictly) {
    finish_game(550);
    const std::uint64_t before = headless::now();
    tap(Return, before + 100); // ends a name entry that should not have begun
    enter_high_score();        // returns at once: no name to wait for
    EXPECT_EQ(headless::now(), before);
    EXPECT_EQ(new_entry_row, -1);
    headless::advance(200);
    EXPECT_EQ(scores(),
              (std::vector<std::int32_t>{1000, 950, 900, 850, 800, 750, 700, 650, 600, 550}));
    EXPECT_STREQ(high_scores[9].name.data(), "NOONE");

    finish_game(551, 3, 12);
    type_text("ZED", 400);
    tap(Return, 800);
    enter_high_score();
    EXPECT_EQ(scores(),
              (std::vector<std::int32_t>{1000, 950, 900, 850, 800, 750, 700, 650, 600, 551}));
    EXPECT_EQ(high_scores[9].level, 3);
    EXPECT_EQ(high_scores[9].rows, 12);
    EXPECT_STREQ(high_scores[9].name.data(), "ZED");
    EXPECT_STREQ(high_scores[8].name.data(), "NOONE");
}

TEST_F(NameEntryTest, AnEqualScoreGoesBelowAndTheLastRowDropsOut) {
    finish_game(800);
    type_text("EVE", 100);
    tap(Return, 500);
    enter_high_score();
    EXPECT_EQ(scores(),
              (std::vector<std::int32_t>{1000, 950, 900, 850, 800, 800, 750, 700, 650, 600}));
    EXPECT_STREQ(high_scores[4].name.data(), "NOONE");
    EXPECT_STREQ(high_scores[5].name.data(), "EVE");
    EXPECT_STREQ(high_scores[6].name.data(), "NOONE");

    finish_game(2000);
    tap(Return, 800);
    enter_high_score();
    EXPECT_EQ(scores(),
              (std::vector<std::int32_t>{2000, 1000, 950, 900, 850, 800, 800, 750, 700, 650}));
    EXPECT_STREQ(high_scores[0].name.data(), ""); // Return at once keeps the name empty
    EXPECT_STREQ(high_scores[6].name.data(), "EVE");
}

TEST_F(NameEntryTest, EveryPressTypesOneCharacter) {
    // Held for half a second: one A.
    EXPECT_EQ(name_typed([] {
                  headless::press_at(50, 'A');
                  headless::release_at(550, 'A');
                  tap(Return, 700);
              }),
              "A");
    // Pressed, released, pressed again: two.
    EXPECT_EQ(name_typed([] {
                  tap('A', 1000);
                  tap('A', 1100);
                  tap(Return, 1300);
              }),
              "AA");
    // A second key pressed while the first is held counts only after both are up.
    EXPECT_EQ(name_typed([] {
                  headless::press_at(1500, 'B');
                  headless::press_at(1550, 'O');
                  headless::release_at(1600, 'B');
                  headless::release_at(1700, 'O');
                  tap('B', 1800);
                  tap(Return, 2000);
              }),
              "BB");
}

TEST_F(NameEntryTest, BlanksAndBackspace) {
    EXPECT_EQ(name_typed([] {
                  tap(Backspace, 50); // nothing to remove yet
                  type_text("AL X", 200);
                  tap(Backspace, 700);
                  tap('Z', 800);
                  tap(Return, 1000);
              }),
              "AL Z");
    // On a pad Start ends the name instead of typing a blank, as A does, and
    // B takes back a character: pads in either place.
    for (int pad : {0, 1}) {
        EXPECT_EQ(headless::pad_keys(pad).start, Return);
        EXPECT_EQ(headless::pad_keys(pad).rotate, Return);
        EXPECT_EQ(headless::pad_keys(pad).drop, Backspace);
    }
}

TEST_F(NameEntryTest, NamesStopAtTwentyNineCharacters) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    finish_game(5000);
    const std::uint64_t end = type_text((alphabet + alphabet).c_str(), 50); // 52 presses
    tap(Backspace, end);
    tap('Q', end + 100);
    tap('R', end + 200); // full again
    tap(Return, end + 400);
    enter_high_score();
    EXPECT_EQ(std::string(high_scores[0].name.data()), alphabet + "ABQ");
}

TEST_F(NameEntryTest, TheReturnThatEndsTheNameDoesNotEndTheTable) {
    finish_game(700);
    type_text("MAX", 100);
    headless::press_at(500, Return);
    headless::release_at(1500, Return);
    tap(Escape, 2500);
    run_high_score_screen();

    EXPECT_GE(headless::now(), 2500u);
    EXPECT_STREQ(high_scores[7].name.data(), "MAX");
    // The table is left with Start again, and A and B do nothing there.
    EXPECT_EQ(headless::pad_keys(0).start, Space);
    EXPECT_EQ(headless::pad_keys(0).rotate, 0);
    EXPECT_EQ(new_entry_row, -1);
    // The table was written back with the new row.
    const Bytes file = read_whole_file("HISCORE.DAT");
    ASSERT_EQ(file.size(), 424u);
    EXPECT_EQ(file[7 * 42], 700 % 256);
    EXPECT_EQ(file[7 * 42 + 12], 'M');
}

TEST_F(NameEntryTest, TheTableEndsWithEscapeReturnOrSpaceOnceReleased) {
    for (const int key : {Escape, Return, Space}) {
        SCOPED_TRACE(key);
        const std::uint64_t start = headless::now();
        finish_game(0);
        // Still held from the game: the table waits for it to go up first.
        headless::set_key(key, true);
        headless::release_at(start + 300, key);
        tap(key, start + 1000);
        run_high_score_screen();
        EXPECT_GE(headless::now(), start + 1000);
        EXPECT_LT(headless::now(), start + 1100);
    }
}

TEST_F(NameEntryTest, TheScreenShowsTheTableOverTheBackground) {
    finish_game(0);
    // A return to the application is a message; a full-screen display needs
    // the picture again after it.
    headless::post_at(headless::now() + 100, {platform::MessageKind::ActivateApp, 1});
    tap(Escape, headless::now() + 200);
    const std::uint64_t before = headless::frames_presented();
    run_high_score_screen();
    // Once at the start and once after the message, not on every pass.
    EXPECT_EQ(headless::frames_presented(), before + 2);
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_GT(headless::now(), 200u);
    // Away from the text the background shows.
    const std::vector<std::uint8_t> background = [] {
        copy_screen(display.back_buffer, background_surface);
        return back_buffer_pixels();
    }();
    EXPECT_EQ(frame->at(5, 5), background[5 * 640 + 5]);
    EXPECT_EQ(frame->at(600, 460), background[460 * 640 + 600]);
    // Both times, the whole table as it is drawn afresh.
    draw_high_score_table();
    const std::vector<std::uint8_t> table = back_buffer_pixels();
    const headless::Frame* earlier = headless::frame(headless::frames_presented() - 2);
    ASSERT_NE(earlier, nullptr);
    EXPECT_TRUE(earlier->pixels == table);
    EXPECT_TRUE(frame->pixels == table);
}

TEST_F(NameEntryTest, GoldenFramesOfANameBeingEntered) {
    expect_golden_frame(name_entered(true), "table_name_entry_en");
}

TEST_F(NameEntryTest, GoldenFramesOfANameBeingEnteredInGerman) {
    expect_golden_frame(name_entered(false), "table_name_entry_de");
}

TEST_F(NameEntryTest, AQuitDuringTheNameEndsTheScreenAndKeepsTheName) {
    finish_game(900);
    type_text("JO", 100);
    headless::post_at(400, {platform::MessageKind::Quit, 0});
    run_high_score_screen();
    EXPECT_TRUE(quit_requested);
    EXPECT_LT(headless::now(), 500u);
    EXPECT_STREQ(high_scores[3].name.data(), "JO");
    EXPECT_EQ(read_whole_file("HISCORE.DAT")[3 * 42 + 12], 'J');
}

TEST_F(NameEntryTest, NothingIsTypedWhileTheGameIsNotActive) {
    app_active = 0;
    EXPECT_EQ(name_typed([] {
                  type_text("XY", 100);
                  tap(Return, 400);
              }),
              "");
}

} // namespace
