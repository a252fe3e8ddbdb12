#include "game/live_input.h"

#include "game/controls.h"
#include "game/game_output.h"
#include "game/music_key.h"
#include "game/session.h"
#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"

namespace {

using platform::vk::Escape;
using platform::vk::F1;
using platform::vk::F2;
using platform::vk::Space;
constexpr int pause_key = 'P';

// The first gamepad plays the single or the right player, the second the
// left one, each with the keys of that player's set.
void lend_keys_to_pad(int player, const std::array<int, key_actions>& keys) {
    const int pad = player_count == 2 && player == 0 ? 1 : 0;
    platform::set_pad_keys(pad, {keys[0], keys[1], keys[2], keys[3]});
}

void read_game_keys(InputFrame& input) {
    input.set_game_key(GameKey::Escape, key_down(Escape));
    if (input.game_key_down(GameKey::Escape))
        wait_keys_released({Escape});
    input.set_game_key(GameKey::Pause, key_down(pause_key));
    // A player whose pad comes loose cannot press P.
    if (input.game_key_down(GameKey::Pause) || platform::pad_was_unplugged())
        pause_game();
    input.set_game_key(GameKey::F2, key_down(F2));
    input.set_game_key(GameKey::F1, key_down(F1));
    const int changing = key_set_change_record(input);
    if (changing >= 0)
        wait_keys_released({changing == 1 ? F2 : F1});
}

void read_action_keys(InputFrame& input) {
    if (input.game_key_down(GameKey::Escape))
        return; // Esc ends the game before any key set is polled
    const int changing = key_set_change_record(input);
    for (int i = 0; i < player_count; ++i) {
        if (players[i].state < state_playing)
            continue;
        const KeySet set = i == changing ? changed_key_set(i) : players[i].control;
        const std::array<int, key_actions>& keys = key_set_keys(set);
        lend_keys_to_pad(i, keys);
        for (int action = 0; action < key_actions; ++action)
            input.set_action(i, action, key_down(keys[action]));
    }
}

} // namespace

InputFrame read_input_frame() {
    InputFrame input;
    read_game_keys(input);
    read_action_keys(input);
    return input;
}

void pause_game() {
    const platform::InputWait wait{"the pause"};
    game_output().draw_paused();
    game_output().present_frame();
    wait_keys_released({pause_key});
    while (!key_down(Space) && !key_down(pause_key) && !key_down(Escape)) {
        check_music_key();
        platform::idle_until(input_wait_due());
    }
    wait_keys_released({Space, pause_key, Escape});
    game_output().redraw_playfield();
    game_output().present_frame();
}
