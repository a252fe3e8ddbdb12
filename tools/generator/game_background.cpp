#include "game_palette.h"
#include "pictures.h"
#include "scenery.h"

#include <cmath>

// A calm dark backdrop: a gradient from navy to plum with a faint grid of
// embossed squares, darker towards the edges, so the boards and the white
// status texts stand out in the one-player and the two-player layout alike.
Canvas make_game_background() {
    Canvas back(640, 480);
    for (int y = 0; y < back.height; ++y) {
        for (int x = 0; x < back.width; ++x) {
            const double dx = (x - 320) / 320.0, dy = (y - 240) / 240.0;
            double light = 0.25 + 0.45 * y / 480.0 - 0.18 * (dx * dx + dy * dy);
            const int gx = (x + 4) % 40, gy = (y + 8) % 40;
            if (gx == 0 || gy == 0) {
                light += 0.1;
            } else if (gx == 39 || gy == 39) {
                light -= 0.08;
            }
            light += 0.05 * std::sin((x + y) / 45.0);
            back.put(x, y, colours::backdrop.dithered(light, x, y));
        }
    }
    // Faint heaps of pieces in the lower corners, beside the boards of
    // either layout.
    const Ramp relief{colours::backdrop.first + 6, 8};
    paint_tile_heap(back, 0, 480, 3, 9, 41, &relief);
    paint_tile_heap(back, 580, 480, 3, 9, 42, &relief);
    return back;
}
