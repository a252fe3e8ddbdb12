#include "app/match_result.h"

#include <cstdio>

#include "app/assets.h"
#include "app/screen_common.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/display.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"

namespace {

// A player's wins are the other record's losses, counted downwards from 0.
// Negated in 64 bits so that no stored count can overflow.
void draw_wins_line(int band_top, int player_number, std::int32_t other_losses) {
    char text[48];
    std::snprintf(text, sizeof text, use_english ? "PLAYER %d - %lld" : "SPIELER %d - %lld",
                  player_number, -static_cast<long long>(other_losses));
    draw_centred_text(game_font, band_top + game_font.glyph_height / 2, text);
}

} // namespace

void show_match_result() {
    const platform::InputWait wait{"the match result"};
    const int third = display.screen_height / 3;
    draw_shaded_band(third);
    draw_shaded_band(2 * third);
    draw_wins_line(third, 1, players[1].losses);
    draw_wins_line(2 * third, 2, players[0].losses);
    present_frame();
    wait_keys_released({platform::vk::Space, platform::vk::Escape, platform::vk::Return});
    while (!screen_exit_key_down() && !quit_requested)
        if (!pump_message(input_wait_due()) && app_active == 0)
            platform::wait_message();
}
