#include "canvas.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int w, int h, std::uint8_t fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}

void Canvas::put(int x, int y, std::uint8_t index) {
    if (contains(x, y)) {
        pixels[static_cast<std::size_t>(y * width + x)] = index;
    }
}

void Canvas::fill_rect(int left, int top, int right, int bottom, std::uint8_t index) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            put(x, y, index);
        }
    }
}

void Canvas::paste(const Canvas& source, int x, int y, bool keyed) {
    for (int sy = 0; sy < source.height; ++sy) {
        for (int sx = 0; sx < source.width; ++sx) {
            const std::uint8_t index = source.at(sx, sy);
            if (!keyed || index != 0) {
                put(x + sx, y + sy, index);
            }
        }
    }
}

std::uint8_t Ramp::entry(int step) const {
    return static_cast<std::uint8_t>(first + std::clamp(step, 0, length - 1));
}

std::uint8_t Ramp::dithered(double brightness, int x, int y) const {
    static constexpr int bayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double position = std::clamp(brightness, 0.0, 1.0) * (length - 1);
    const int base = static_cast<int>(std::floor(position));
    const double fraction = position - base;
    const double threshold = (bayer[y & 3][x & 3] + 0.5) / 16.0;
    return entry(fraction > threshold ? base + 1 : base);
}

void fill_polygon(Canvas& canvas, const std::vector<Point>& corners, const Shader& shade) {
    const std::size_t count = corners.size();
    for (int y = 0; y < canvas.height; ++y) {
        const double cy = y + 0.5;
        std::vector<double> crossings;
        for (std::size_t i = 0; i < count; ++i) {
            const Point a = corners[i];
            const Point b = corners[(i + 1) % count];
            if ((a.y <= cy) != (b.y <= cy)) {
                crossings.push_back(a.x + (cy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = static_cast<int>(std::ceil(crossings[i] - 0.5));
            const int to = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
            for (int x = std::max(from, 0); x < std::min(to, canvas.width); ++x) {
                canvas.put(x, y, shade(x, y));
            }
        }
    }
}

void fill_ellipse(Canvas& canvas, double cx, double cy, double rx, double ry, const Shader& shade) {
    const int top = std::max(0, static_cast<int>(cy - ry));
    const int bottom = std::min(canvas.height, static_cast<int>(cy + ry) + 1);
    for (int y = top; y < bottom; ++y) {
        for (int x = std::max(0, static_cast<int>(cx - rx)); x <= cx + rx && x < canvas.width;
             ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) {
                canvas.put(x, y, shade(x, y));
            }
        }
    }
}
