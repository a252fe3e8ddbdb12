#include "app/high_scores.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/assets.h"
#include "app/screen_common.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"

std::array<HighScoreEntry, high_score_count> high_scores{};
int new_entry_row = -1;
bool name_key_latch = false;

namespace {

// The rows are drawn narrower than the header so that 43 characters fit.
constexpr int row_advance = 14;
// The header stands this many glyph heights above the middle of the screen.
constexpr int header_rows_above_middle = 10;

int header_y() {
    return display.screen_height / 2 - header_rows_above_middle * game_font.glyph_height;
}

int row_y(int row) {
    return header_y() + (2 * row + 2) * game_font.glyph_height;
}

// The band behind an edited row starts half a glyph above its text.
int band_top(int row) {
    return row_y(row) - game_font.glyph_height / 2;
}

// Score, level and rows, then the name right-aligned in 30 columns. The
// precision keeps the name inside its 30 bytes whatever they hold.
std::string format_row(const HighScoreEntry& entry) {
    char text[80];
    std::snprintf(text, sizeof text, "%5d %2d %3d %30.*s", entry.score, entry.level, entry.rows,
                  name_limit - 1, entry.name.data());
    return text;
}

// The game font with the narrower advance of the rows.
Font row_font() {
    Font font = game_font;
    font.glyph_width = row_advance;
    return font;
}

void draw_table_over_background() {
    copy_screen(display.back_buffer, background_surface);
    draw_high_score_table();
}

void show_table_over_background() {
    draw_table_over_background();
    present_frame();
}

// The first key of the name entry that is down: A to Z, Space, Backspace in
// that order; Backspace alone when `backspace_only`. 0 when none is down.
int name_key_down(bool backspace_only) {
    if (!backspace_only) {
        for (int key = 'A'; key <= 'Z'; ++key)
            if (key_down(key))
                return key;
        if (key_down(platform::vk::Space))
            return platform::vk::Space;
    }
    return key_down(platform::vk::Backspace) ? platform::vk::Backspace : 0;
}

// A pad player names the result with the pad too: Start or A ends the name
// as Return does, B takes back a character as Backspace does. The pads of
// both places, as either may be the one in the player's hands.
void lend_pads(const platform::PadKeys& keys) {
    platform::set_pad_keys(0, keys);
    platform::set_pad_keys(1, keys);
}

} // namespace

void edit_name_step(char* name, int limit) {
    const std::size_t length = strnlen(name, static_cast<std::size_t>(std::max(limit, 0)));
    const int key = name_key_down(static_cast<long long>(length) + 1 >= limit);
    if (key == 0) {
        name_key_latch = false;
        return;
    }
    if (!name_key_latch) {
        if (key != platform::vk::Backspace) {
            // The key codes of the letters and of Space are their characters.
            name[length] = static_cast<char>(key);
            name[length + 1] = '\0';
        } else if (length > 0) {
            name[length - 1] = '\0';
        }
    }
    name_key_latch = true;
}

std::optional<HighScoreEntry> enter_high_score() {
    const PlayerRecord& player = players[0];
    new_entry_row = insert_high_score({player.score, player.level, player.rows, {}});
    if (new_entry_row < 0)
        return std::nullopt;
    const auto entry = high_scores.begin() + new_entry_row;
    show_table_over_background();
    lend_pads({.rotate = platform::vk::Return,
               .drop = platform::vk::Backspace,
               .start = platform::vk::Return});

    name_key_latch = false;
    const int top = band_top(new_entry_row);
    const platform::Rect band{0, top, display.screen_width, top + 2 * game_font.glyph_height};
    std::uint32_t last = platform::time_ms();
    do {
        screen_loop_pass(last, [&] {
            edit_name_step(entry->name.data(), name_limit);
            draw_edited_row();
            present_rect(0, top, band);
            edit_name_step(entry->name.data(), name_limit);
        });
    } while (!key_down(platform::vk::Return) && !quit_requested);
    new_entry_row = -1;
    return *entry;
}

void run_high_score_screen() {
    const platform::InputWait wait{"the high-score screen"};
    wait_keys_released({platform::vk::Return, platform::vk::Escape, platform::vk::Space});
    load_high_scores();
    const std::optional<HighScoreEntry> entry = enter_high_score();
    // The Return that ended the name must not also end the table.
    wait_keys_released({platform::vk::Return});
    lend_pads({});
    // The table stays as it is while it is shown, and the back buffer keeps
    // its picture through presents and flips: it is drawn once.
    draw_table_over_background();
    // Presenting the unchanged picture again would only cost time; the
    // backends repaint an uncovered window themselves. After a message it is
    // presented once more, because a full-screen display that was switched
    // away from and back shows nothing until the next present.
    bool present_due = true;
    std::uint32_t last = platform::time_ms();
    do {
        const bool handled = screen_loop_pass(last, [&] {
            if (present_due)
                present_frame();
            present_due = false;
        });
        present_due = present_due || handled;
    } while (!screen_exit_key_down() && !quit_requested);
    save_high_score_entry(entry);
    wait_keys_released({platform::vk::Escape, platform::vk::Return, platform::vk::Space});
}

void draw_high_score_table() {
    draw_centred_text(game_font, header_y(),
                      use_english ? "POINTS LEVEL ROWS        PLAYER"
                                  : "PUNKTE LEVEL REIHEN      SPIELER");
    const Font font = row_font();
    for (int row = 0; row < high_score_count; ++row)
        draw_centred_text(font, row_y(row),
                          format_row(high_scores[static_cast<std::size_t>(row)]).c_str());
}

void draw_edited_row() {
    if (new_entry_row < 0 || new_entry_row >= high_score_count)
        return;
    draw_shaded_band(band_top(new_entry_row));
    draw_centred_text(row_font(), row_y(new_entry_row),
                      format_row(high_scores[static_cast<std::size_t>(new_entry_row)]).c_str());
}
