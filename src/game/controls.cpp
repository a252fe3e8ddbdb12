#include "game/controls.h"

#include "game/game_output.h"
#include "game/piece_moves.h"
#include "game/session.h"
#include "platform/keyboard.h"

namespace {

using platform::vk::Control;
using platform::vk::Down;
using platform::vk::F1;
using platform::vk::F2;
using platform::vk::Left;
using platform::vk::Right;
using platform::vk::Shift;
using platform::vk::Up;

// Keys in latch order: move left, move right, rotate, drop.
using KeySet = int[key_actions];

// The first gamepad plays the single or the right player, the second the
// left one, each with the keys of that player's set.
void lend_keys_to_pad(int player, const KeySet& keys) {
    const int pad = player_count == 2 && player == 0 ? 1 : 0;
    platform::set_pad_keys(pad, {keys[0], keys[1], keys[2], keys[3]});
}

void poll_key_set(int player, const KeySet& keys) {
    lend_keys_to_pad(player, keys);
    PlayerRecord& record = players[player];
    for (int action = 0; action < key_actions; ++action) {
        std::uint8_t& latch = key_latch[player][action];
        if (!key_down(keys[action])) {
            latch = 1;
            continue;
        }
        if (latch == 0)
            continue;
        latch = 0;
        switch (action) {
        case 0:
            move_left(record);
            break;
        case 1:
            move_right(record);
            break;
        case 2:
            rotate_piece(record);
            break;
        default:
            hard_drop(record);
            break;
        }
    }
}

// Switches `record` between its two sets, the first of which is choice 0.
void toggle_key_set(int record, ControlHandler choice_0, ControlHandler choice_1, int key) {
    const bool to_first = players[record].control == choice_1;
    players[record].control = to_first ? choice_0 : choice_1;
    key_set_choice[record] = to_first ? 0 : 1;
    wait_keys_released({key});
    game_output().redraw_playfield();
}

} // namespace

void controls_arrows_ctrl(int player) {
    poll_key_set(player, {Left, Right, Down, Control});
}

void controls_arrows_up(int player) {
    poll_key_set(player, {Left, Right, Up, Down});
}

void controls_wasd(int player) {
    poll_key_set(player, {'A', 'D', 'W', 'S'});
}

void controls_ads_shift(int player) {
    poll_key_set(player, {'A', 'D', 'S', Shift});
}

ControlHandler starting_key_set(int record) {
    const bool first = key_set_choice[record] == 0;
    if (player_count == 2 && record == 0)
        return first ? controls_ads_shift : controls_wasd;
    return first ? controls_arrows_ctrl : controls_arrows_up;
}

void check_key_set_change() {
    if (player_count == 2) {
        if (key_down(F2))
            toggle_key_set(1, controls_arrows_ctrl, controls_arrows_up, F2);
        else if (key_down(F1))
            toggle_key_set(0, controls_ads_shift, controls_wasd, F1);
    } else if (key_down(F1)) {
        toggle_key_set(0, controls_arrows_ctrl, controls_arrows_up, F1);
    }
}
