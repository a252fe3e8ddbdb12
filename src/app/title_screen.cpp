#include "app/title_screen.h"

#include <algorithm>
#include <array>

#include "app/assets.h"
#include "app/scroller.h"
#include "game/music_key.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/display.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "res/picture.h"

namespace {

constexpr int key_1 = 0x31;
constexpr int key_2 = 0x32;
constexpr int key_b = 0x42;
constexpr std::array title_keys{
    platform::vk::Space, platform::vk::Escape, platform::vk::Return, key_1, key_2, key_b};

// The title logo slides down from this height above the screen to 0.
constexpr int logo_start_y = -240;
constexpr int slide_step = 4;
constexpr platform::Rect logo_rect{0, 0, 600, 240};
// The logo's column, and the rows the redrawn band reaches below its top.
constexpr int logo_x = 10;
constexpr int band_below_logo = 244;
constexpr unsigned scroll_period_ms = 25;

bool title_key_or_quit() {
    return std::any_of(title_keys.begin(), title_keys.end(), key_down) || quit_requested;
}

struct TitlePictures {
    Surface logo;
    Surface background;
};

// Draws the title background, then slides the logo in, one step per idle
// pass, redrawing only the band above and including it. The key that left
// the screen before may still be down: a short tap there would otherwise
// start a game or end the program here at once.
void slide_in(const TitlePictures& pictures, const Palette& logo_palette) {
    int title_y = logo_start_y;
    set_palette(logo_palette);
    wait_keys_released({platform::vk::Space, platform::vk::Escape, platform::vk::Return});
    while (title_y < 0 && !title_key_or_quit()) {
        check_music_key();
        if (pump_message())
            continue;
        if (!app_active) {
            platform::wait_message();
            continue;
        }
        const platform::Rect band{logo_x, 0, display.screen_width - 2 * logo_x,
                                  title_y + band_below_logo};
        title_y += slide_step;
        blit_rect(display.back_buffer, logo_x, 0, band, pictures.background);
        blit_rect_keyed(display.back_buffer, logo_x, title_y, logo_rect, pictures.logo);
        present_rect(logo_x, 0, band);
    }
}

enum class Choice { Made, None };

// The decision taken from the keys held now.
Choice decide() {
    game_mode = GameMode::Blokit;
    if (key_down(key_1)) {
        player_count = 1;
    } else if (key_down(key_2)) {
        player_count = 2;
    } else if (key_down(key_b)) {
        game_mode = GameMode::Blob;
    } else if (key_down(platform::vk::Escape)) {
        quit_requested = true;
    } else if (!quit_requested) {
        return Choice::None;
    }
    return Choice::Made;
}

void run_scroller() {
    Scroller scroller = make_scroller(load_scroll_text(), display.screen_height);
    std::uint32_t last_step = platform::time_ms();
    while (!title_key_or_quit()) {
        check_music_key();
        if (pump_message(last_step + scroll_period_ms + 1) || !app_active)
            continue;
        if (platform::time_ms() - last_step > scroll_period_ms) {
            last_step = platform::time_ms();
            scroll_step(scroller, game_font);
        }
    }
}

} // namespace

void run_title_screen() {
    const platform::InputWait wait{"the title screen"};
    TitlePictures pictures;
    Palette logo_palette;
    load_picture("BLOKITS.PIX", pictures.logo, &logo_palette);
    set_source_color_key(pictures.logo, 0);
    load_picture("TITELS.PIX", pictures.background, nullptr);
    copy_screen(display.back_buffer, pictures.background);
    present_frame();
    slide_in(pictures, logo_palette);
    pictures = {};
    if (decide() == Choice::Made)
        return;
    run_scroller();
    decide();
}
