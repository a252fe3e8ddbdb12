#include "block.h"

#include <algorithm>

namespace {

constexpr int far_away = 1000;

// Distance of a pixel from each open side (far away for closed sides).
struct SideDistances {
    int top, right, bottom, left;
};

SideDistances distances(int px, int py, int size, int mask) {
    return {mask & side::top ? py : far_away, mask & side::right ? size - 1 - px : far_away,
            mask & side::bottom ? size - 1 - py : far_away, mask & side::left ? px : far_away};
}

// How far a pixel lies inside a rounded corner of two open sides: below 2
// it is cut away, 2 is the corner's edge.
int corner_depth(const SideDistances& d) {
    int depth = far_away;
    for (int a : {d.top, d.bottom}) {
        for (int b : {d.left, d.right}) {
            if (a < far_away && b < far_away) {
                depth = std::min(depth, a + b);
            }
        }
    }
    return depth;
}

// The body carries a faint diagonal sheen whose period is the block size, so
// it runs on seamlessly across joined blocks.
int body_shade(int px, int py, int size) {
    const int phase = (px + py) % size;
    return phase >= size / 4 && phase < size / 4 + 3 ? shade::body + 1 : shade::body;
}

int block_shade(int px, int py, int size, int mask) {
    const SideDistances d = distances(px, py, size, mask);
    const int corner = corner_depth(d);
    if (corner < 2) {
        return -1;
    }
    const int lit = std::min(d.top, d.left);
    const int dark = std::min(d.bottom, d.right);
    if (corner == 2 || std::min(lit, dark) == 0) {
        return shade::edge;
    }
    if (lit <= dark && lit <= 2) {
        return lit == 1 ? 7 : 6;
    }
    if (dark <= 2) {
        return dark == 1 ? 2 : 3;
    }
    return body_shade(px, py, size);
}

} // namespace

void draw_block(Canvas& canvas, int x, int y, int size, Ramp ramp, int mask, const Shader& behind) {
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const int s = block_shade(px, py, size, mask);
            canvas.put(x + px, y + py, s < 0 ? behind(px, py) : ramp.entry(s));
        }
    }
}
