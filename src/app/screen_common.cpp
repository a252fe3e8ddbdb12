#include "app/screen_common.h"

#include <cstring>

#include "app/assets.h"
#include "game/session.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/rect.h"
#include "platform/keyboard.h"

namespace {
constexpr int band_steps = 16;
constexpr int band_first_colour = 80;
} // namespace

void draw_centred_text(const Font& font, int y, const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    const int x = display.screen_width / 2 - length * font.glyph_width / 2;
    draw_text(font, display.back_buffer, x, y, text);
}

void draw_shaded_band(int top) {
    const int width = display.screen_width;
    const int height = 2 * game_font.glyph_height;
    // The steps past the middle make empty or inverted rectangles, which draw nothing.
    for (int i = 0; i < band_steps; ++i)
        draw_rect(display.back_buffer, i, top + i, width - i, top + height - i,
                  static_cast<std::uint32_t>(band_first_colour + i), 1);
}

bool screen_exit_key_down() {
    return key_down(platform::vk::Escape) || key_down(platform::vk::Return) ||
           key_down(platform::vk::Space);
}
