#include "game/game_loop.h"

#include "game/driver.h"
#include "game/game_output.h"
#include "game/music_key.h"
#include "game/player.h"
#include "game/session.h"
#include "platform/clock.h"
#include "platform/messages.h"

void run_game() {
    start_game();
    game_output().play_effect(SoundEffect::Start);
    last_tick_ms = platform::time_ms();
    fall_countdown = first_fall_ticks - players[0].level;
    while (players[0].state > 0 && players[1].state > 0 && !quit_requested) {
        check_music_key();
        if (pump_message(next_tick_due()))
            continue;
        if (app_active)
            game_tick();
        else
            platform::wait_message();
    }
}
