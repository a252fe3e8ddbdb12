#include "gfx/rect.h"

#include <algorithm>
#include <cmath>

#include "gfx/retry.h"

namespace {

// A pixel lands only inside both the screen and the surface.
struct Plotter {
    platform::LockedPixels locked;
    double width;
    double height;
    std::uint32_t colour;

    void plot(double x, double y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        const int column = static_cast<int>(x);
        std::uint8_t* row = locked.pixels + std::size_t(static_cast<int>(y)) * locked.pitch;
        if (locked.depth == 8) {
            row[column] = static_cast<std::uint8_t>(colour);
        } else if (locked.depth == 16) {
            row[2 * column] = static_cast<std::uint8_t>(colour);
            row[2 * column + 1] = static_cast<std::uint8_t>(colour >> 8);
        }
    }
};

// The stepper: the minor coordinate moves by `step` per pixel of the major
// one, accumulated in double precision from the start point.
void step_along(const Plotter& plotter, bool steep, double major, double minor, double end,
                double step) {
    const double limit = steep ? plotter.height : plotter.width;
    // The major coordinate only grows: past the limit nothing more can land.
    for (; major <= end && major < limit; major += 1, minor += step) {
        if (steep)
            plotter.plot(minor, major);
        else
            plotter.plot(major, minor);
    }
}

} // namespace

void draw_line(const Surface& target, int x1, int y1, int x2, int y2, std::uint32_t colour) {
    const int width = display.screen_width;
    const int height = display.screen_height;
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 > width && x2 > width) ||
        (y1 > height && y2 > height))
        return;
    if (!target)
        return;
    Plotter plotter{{}, 0, 0, colour};
    if (target->lock(plotter.locked) != platform::Result::Ok)
        return;
    plotter.width = std::min(width, plotter.locked.width);
    plotter.height = std::min(height, plotter.locked.height);

    const double dx = std::fabs(double(x2) - x1);
    const double dy = std::fabs(double(y2) - y1);
    const bool steep = dy >= dx;
    // Start at the end with the smaller major coordinate.
    const bool first_starts = steep ? y1 < y2 : x1 < x2;
    const double start_x = first_starts ? x1 : x2;
    const double start_y = first_starts ? y1 : y2;
    const double end_x = first_starts ? x2 : x1;
    const double end_y = first_starts ? y2 : y1;
    if (steep) {
        const double step = end_y != start_y ? (end_x - start_x) / (end_y - start_y) : 0;
        step_along(plotter, true, start_y, start_x, end_y, step);
    } else {
        step_along(plotter, false, start_x, start_y, end_x, (end_y - start_y) / (end_x - start_x));
    }
    target->unlock();
}

void draw_rect(const Surface& target, int x1, int y1, int x2, int y2, std::uint32_t colour,
               std::uint8_t filled) {
    if (x1 < 0)
        x1 = 0;
    if (x2 >= display.screen_width)
        x2 = display.screen_width;
    if (y1 < 0)
        y1 = 0;
    if (y2 >= display.screen_height)
        y2 = display.screen_height;
    if (!filled) {
        draw_line(target, x1, y1, x2, y1, colour);
        draw_line(target, x2, y1, x2, y2, colour);
        draw_line(target, x1, y2, x2, y2, colour);
        draw_line(target, x1, y1, x1, y2, colour);
        return;
    }
    if (!target)
        return;
    issue_with_retries(Retry::WhileLostOrBusy,
                       [&] {
                           return target->color_fill({x1, y1, x2, y2}, colour);
                       },
                       {target.get()});
}
