#include "game/controls.h"

#include "game/game_output.h"
#include "game/piece_moves.h"
#include "platform/keyboard.h"

namespace {

using platform::vk::Control;
using platform::vk::Down;
using platform::vk::Left;
using platform::vk::Right;
using platform::vk::Shift;
using platform::vk::Up;

using Keys = std::array<int, key_actions>;

constexpr Keys arrows_ctrl_keys = {Left, Right, Down, Control};
constexpr Keys arrows_up_keys = {Left, Right, Up, Down};
constexpr Keys wasd_keys = {'A', 'D', 'W', 'S'};
constexpr Keys ads_shift_keys = {'A', 'D', 'S', Shift};

void act(int action, PlayerRecord& record) {
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

// The two sets of `record`: stored choice 0 and any other choice.
struct SetPair {
    KeySet first;
    KeySet second;
};

SetPair key_set_pair(int record) {
    if (player_count == 2 && record == 0)
        return {KeySet::AdsShift, KeySet::Wasd};
    return {KeySet::ArrowsCtrl, KeySet::ArrowsUp};
}

} // namespace

const std::array<int, key_actions>& key_set_keys(KeySet set) {
    switch (set) {
    case KeySet::ArrowsCtrl:
        return arrows_ctrl_keys;
    case KeySet::ArrowsUp:
        return arrows_up_keys;
    case KeySet::Wasd:
        return wasd_keys;
    default:
        return ads_shift_keys;
    }
}

void poll_key_set(int player, const InputFrame& input) {
    PlayerRecord& record = players[player];
    for (int action = 0; action < key_actions; ++action) {
        std::uint8_t& latch = key_latch[player][action];
        if (!input.action_down(player, action)) {
            latch = 1;
            continue;
        }
        if (latch == 0)
            continue;
        latch = 0;
        act(action, record);
    }
}

KeySet starting_key_set(int record) {
    const SetPair pair = key_set_pair(record);
    return key_set_choice[record] == 0 ? pair.first : pair.second;
}

int key_set_change_record(const InputFrame& input) {
    if (player_count == 2 && input.game_key_down(GameKey::F2))
        return 1;
    return input.game_key_down(GameKey::F1) ? 0 : -1;
}

KeySet changed_key_set(int record) {
    const SetPair pair = key_set_pair(record);
    return players[record].control == pair.second ? pair.first : pair.second;
}

void change_key_set(const InputFrame& input) {
    const int record = key_set_change_record(input);
    if (record < 0)
        return;
    players[record].control = changed_key_set(record);
    key_set_choice[record] = players[record].control == key_set_pair(record).first ? 0 : 1;
    game_output().redraw_playfield();
}
