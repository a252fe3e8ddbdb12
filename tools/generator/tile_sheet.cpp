#include "tile_sheet.h"

#include "block.h"
#include "game_palette.h"
#include "lettering.h"

namespace {

constexpr int sheet_width = 640;
constexpr int sheet_height = 480;

// Profile of the frame across its 4 pixels, from the outside in.
constexpr std::uint8_t frame_profile[4] = {5, 13, 10, 3};

void draw_tiles(Canvas& sheet) {
    const Shader behind = [](int x, int y) { return empty_cell_pixel(x, y); };
    for (int c = 1; c <= colours::tile_colour_count; ++c) {
        // Variant 16 is never drawn; its place holds the frame strips.
        for (int v = 0; v < 16; ++v) {
            const SheetRect r = tile_rect(c, v);
            draw_block(sheet, r.left, r.top, tile_size, colours::tile(c), v, behind);
        }
    }
    for (int y = 0; y < tile_size; ++y) {
        for (int x = 0; x < tile_size; ++x) {
            sheet.put(empty_cell_rect.left + x, empty_cell_rect.top + y, empty_cell_pixel(x, y));
        }
    }
}

void draw_frame_strips(Canvas& sheet) {
    const SheetRect side = board_side_rect;
    for (int y = side.top; y < side.bottom; ++y) {
        for (int i = 0; i < 4; ++i) {
            // A rivet every board row.
            const bool rivet = (y % tile_size == 9 || y % tile_size == 10) && (i == 1 || i == 2);
            sheet.put(side.left + i, y, rivet ? colours::white : frame_profile[i]);
        }
    }
    const SheetRect bottom = board_bottom_rect;
    for (int x = bottom.left; x < bottom.right; ++x) {
        for (int i = 0; i < 4; ++i) {
            sheet.put(x, bottom.top + i, frame_profile[i]);
        }
    }
}

// A red panel with a gold rim, "GAME OVER" in large letters and the same
// words in German beneath; index 0 outside the panel lets the board show.
void draw_game_over(Canvas& sheet) {
    Canvas panel(160, 140);
    const int left = 2, top = 6, right = 158, bottom = 134, radius = 12;
    const auto inside = [&](int x, int y, int inset) {
        const int l = left + inset, t = top + inset, r = right - inset, b = bottom - inset;
        const int rr = radius - inset;
        if (x < l || x >= r || y < t || y >= b) {
            return false;
        }
        const int cx = x < l + rr ? l + rr : (x >= r - rr ? r - rr - 1 : x);
        const int cy = y < t + rr ? t + rr : (y >= b - rr ? b - rr - 1 : y);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= rr * rr;
    };
    for (int y = 0; y < panel.height; ++y) {
        for (int x = 0; x < panel.width; ++x) {
            if (inside(x, y, 4)) {
                panel.put(x, y,
                          colours::ember.dithered(0.55 - 0.4 * (y - top) / (bottom - top), x, y));
            } else if (inside(x, y, 1)) {
                panel.put(x, y,
                          colours::gold.dithered(0.8 - 0.5 * (y - top) / (bottom - top), x, y));
            } else if (inside(x, y, 0)) {
                panel.put(x, y, colours::outline);
            }
        }
    }
    const LetterStyle big{4, colours::gold, 2, colours::outline};
    draw_centred(panel, 80, 20, "GAME", big);
    draw_centred(panel, 80, 54, "OVER", big);
    panel.fill_rect(20, 88, 140, 90, colours::gold.entry(10));
    const LetterStyle small{2, Ramp{10, 6}, 1, colours::outline};
    draw_centred(panel, 80, 100, "SPIEL VORBEI", small);
    sheet.paste(panel, game_over_rect.left, game_over_rect.top, false);
}

} // namespace

std::uint8_t empty_cell_pixel(int x, int y) {
    const Ramp well = colours::board;
    if (x == 0 || y == 0) {
        return well.entry(0);
    }
    if (x == tile_size - 1 || y == tile_size - 1) {
        return well.entry(3);
    }
    const bool centre = (x == 9 || x == 10) && (y == 9 || y == 10);
    return well.entry(centre ? 3 : 1);
}

Canvas make_tile_sheet() {
    Canvas sheet(sheet_width, sheet_height);
    draw_tiles(sheet);
    draw_frame_strips(sheet);
    draw_game_over(sheet);
    return sheet;
}
