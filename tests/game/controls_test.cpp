// The four key sets, their latches and the change of sets with F1 and F2.
#include "game_test_support.h"

#include "game/controls.h"
#include "game/driver.h"
#include "game/live_input.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"

#include <vector>

namespace {

namespace vk = platform::vk;

class ControlsTest : public GameTest {
  protected:
    // A piece in open space, where every action succeeds.
    void place_piece(int player) {
        players[player].index = player;
        players[player].state = state_playing;
        players[player].piece = make_piece(4, 3, 5); // L
    }
};

// Polls `player`, steering with `set`, from the keys as a tick reads them.
void poll(int player, KeySet set) {
    players[player].control = set;
    poll_key_set(player, read_input_frame());
}

// The key-set change keys as a tick reads and acts on them.
void check_key_set_change() {
    change_key_set(read_input_frame());
}

TEST_F(ControlsTest, HoldingAKeyActsOnceAndAgainOnlyAfterRelease) {
    place_piece(0);
    headless::set_key(vk::Left, true);
    for (int tick = 0; tick < 40; ++tick)
        poll(0, KeySet::ArrowsCtrl);
    EXPECT_EQ(players[0].piece.column, 2) << "one column for a held key";
    headless::set_key(vk::Left, false);
    poll(0, KeySet::ArrowsCtrl);
    headless::set_key(vk::Left, true);
    poll(0, KeySet::ArrowsCtrl);
    EXPECT_EQ(players[0].piece.column, 1);
}

TEST_F(ControlsTest, LatchesStartArmedForTheLeftPlayerOnly) {
    player_count = 2;
    place_piece(0);
    place_piece(1);
    headless::set_key('A', true);
    headless::set_key(vk::Left, true);
    poll(0, KeySet::Wasd);
    poll(1, KeySet::ArrowsUp);
    EXPECT_EQ(players[0].piece.column, 2);
    EXPECT_EQ(players[1].piece.column, 3) << "a key held from before acts only after release";
    headless::set_key(vk::Left, false);
    poll(1, KeySet::ArrowsUp);
    headless::set_key(vk::Left, true);
    poll(1, KeySet::ArrowsUp);
    EXPECT_EQ(players[1].piece.column, 2);
}

TEST_F(ControlsTest, LatchesBelongToThePlayerNotToTheKeySet) {
    place_piece(0);
    headless::set_key(vk::Left, true);
    poll(0, KeySet::ArrowsCtrl);
    poll(0, KeySet::ArrowsUp); // Left is the left key of both sets
    EXPECT_EQ(players[0].piece.column, 2);
}

TEST_F(ControlsTest, EachSetHasItsOwnRotateAndDropKeys) {
    struct Case {
        KeySet set;
        int rotate;
        int drop;
    };
    const Case cases[] = {{KeySet::ArrowsCtrl, vk::Down, vk::Control},
                          {KeySet::ArrowsUp, vk::Up, vk::Down},
                          {KeySet::Wasd, 'W', 'S'},
                          {KeySet::AdsShift, 'S', vk::Shift}};
    for (const Case& c : cases) {
        reset_game_values();
        place_piece(0);
        headless::set_key(c.rotate, true);
        poll(0, c.set);
        headless::set_key(c.rotate, false);
        EXPECT_NE(players[0].piece.cells, make_piece(4, 3, 5).cells) << "rotated";
        EXPECT_EQ(players[0].piece.row, 5);
        headless::set_key(c.drop, true);
        poll(0, c.set);
        headless::set_key(c.drop, false);
        EXPECT_GT(filled_cells(players[0]), 0) << "dropped and locked";
        EXPECT_EQ(players[0].piece.row, -1) << "and the next piece came in";
    }
}

TEST_F(ControlsTest, PadsReadAsTheKeysOfTheirPlayersCurrentSet) {
    const auto lent = [](int pad) {
        const platform::PadKeys keys = headless::pad_keys(pad);
        return std::vector<int>{keys.left, keys.right, keys.rotate, keys.drop};
    };
    player_count = 2;
    place_piece(0);
    place_piece(1);
    poll(0, KeySet::Wasd);
    poll(1, KeySet::ArrowsUp);
    EXPECT_EQ(lent(1), (std::vector<int>{'A', 'D', 'W', 'S'}));
    EXPECT_EQ(lent(0), (std::vector<int>{vk::Left, vk::Right, vk::Up, vk::Down}));
    player_count = 1;
    poll(0, KeySet::ArrowsCtrl);
    EXPECT_EQ(lent(0), (std::vector<int>{vk::Left, vk::Right, vk::Down, vk::Control}));
}

TEST_F(ControlsTest, SeveralKeysActInOneTickInTheirOrder) {
    place_piece(0);
    headless::set_key(vk::Right, true);
    headless::set_key(vk::Down, true);
    poll(0, KeySet::ArrowsCtrl);
    EXPECT_EQ(players[0].piece.column, 4);
    EXPECT_NE(players[0].piece.cells, make_piece(4, 3, 5).cells);
}

TEST_F(ControlsTest, StartingSetsFollowTheStoredChoice) {
    player_count = 1;
    key_set_choice = {0, 0};
    EXPECT_EQ(starting_key_set(0), KeySet::ArrowsCtrl);
    key_set_choice = {1, 0};
    EXPECT_EQ(starting_key_set(0), KeySet::ArrowsUp);
    player_count = 2;
    key_set_choice = {0, 0};
    EXPECT_EQ(starting_key_set(0), KeySet::AdsShift);
    EXPECT_EQ(starting_key_set(1), KeySet::ArrowsCtrl);
    key_set_choice = {1, 1};
    EXPECT_EQ(starting_key_set(0), KeySet::Wasd);
    EXPECT_EQ(starting_key_set(1), KeySet::ArrowsUp);
    key_set_choice = {5, -3}; // any value but 0 is the second set
    EXPECT_EQ(starting_key_set(0), KeySet::Wasd);
    EXPECT_EQ(starting_key_set(1), KeySet::ArrowsUp);
}

TEST_F(ControlsTest, F1SwitchesTheSinglePlayerAndWaitsForRelease) {
    players[0].control = KeySet::ArrowsCtrl;
    headless::set_key(vk::F1, true);
    headless::release_at(headless::now() + 300, vk::F1);
    check_key_set_change();
    EXPECT_EQ(players[0].control, KeySet::ArrowsUp);
    EXPECT_EQ(key_set_choice[0], 1);
    EXPECT_GE(headless::now(), 100300u) << "waited for F1 to come up";
    EXPECT_EQ(output.count(OutputEvent::Kind::RedrawPlayfield), 1);

    headless::set_key(vk::F1, true);
    headless::release_at(headless::now() + 10, vk::F1);
    check_key_set_change();
    EXPECT_EQ(players[0].control, KeySet::ArrowsCtrl);
    EXPECT_EQ(key_set_choice[0], 0);
    EXPECT_EQ(output.count(OutputEvent::Kind::RedrawPlayfield), 2);
}

TEST_F(ControlsTest, F1AndF2TogetherChangeOnlyTheRightPlayer) {
    player_count = 2;
    players[0].control = KeySet::AdsShift;
    players[1].control = KeySet::ArrowsCtrl;
    headless::set_key(vk::F1, true);
    headless::set_key(vk::F2, true);
    headless::release_at(headless::now() + 50, vk::F1);
    headless::release_at(headless::now() + 50, vk::F2);
    check_key_set_change();
    EXPECT_EQ(players[0].control, KeySet::AdsShift);
    EXPECT_EQ(players[1].control, KeySet::ArrowsUp);
    EXPECT_EQ(key_set_choice[0], 0);
    EXPECT_EQ(key_set_choice[1], 1);

    headless::set_key(vk::F1, true);
    headless::release_at(headless::now() + 50, vk::F1);
    check_key_set_change();
    EXPECT_EQ(players[0].control, KeySet::Wasd) << "F1 alone changes the left player";
    EXPECT_EQ(key_set_choice[0], 1);
    EXPECT_EQ(players[1].control, KeySet::ArrowsUp);
}

} // namespace
