#include "gfx/sprite.h"

#include <algorithm>
#include <limits>

#include "gfx/retry.h"

using platform::Copy;
using platform::Rect;

namespace {

// A copy cut to the screen: the destination corner and the part of the
// source rectangle that lands on the screen.
struct Placed {
    int x;
    int y;
    Rect source;
};

bool fits_int(long long value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// Moves a corner left of or above the screen onto it, shrinking the source
// from that side, then cuts the right and bottom at the screen's edge.
bool place_on_screen(long long x, long long y, const Rect& source, Placed& placed) {
    long long left = source.left;
    long long top = source.top;
    if (x < 0) {
        left -= x;
        x = 0;
    }
    if (y < 0) {
        top -= y;
        y = 0;
    }
    const long long right = std::min<long long>(source.right, left + (display.screen_width - x));
    const long long bottom = std::min<long long>(source.bottom, top + (display.screen_height - y));
    if (!fits_int(x) || !fits_int(y) || !fits_int(left) || !fits_int(top) || !fits_int(right) ||
        !fits_int(bottom))
        return false;
    placed = {int(x), int(y), {int(left), int(top), int(right), int(bottom)}};
    return true;
}

void copy_placed(const Surface& target, const Placed& placed, const Surface& source, Copy copy,
                 std::initializer_list<platform::Surface*> restore_on_loss) {
    if (!target || !source)
        return;
    issue_with_retries(
        Retry::WhileLostOrBusy,
        [&] { return target->blt_fast(placed.x, placed.y, *source, placed.source, copy); },
        restore_on_loss);
}

void draw_sprite_with(const Sprite* sprite, const Surface& target, int x, int y, Copy copy) {
    if (!sprite || static_cast<long long>(x) + sprite->width < 0 ||
        static_cast<long long>(y) + sprite->height < 0)
        return;
    Placed placed{};
    if (place_on_screen(x, y, {0, 0, sprite->width, sprite->height}, placed))
        copy_placed(target, placed, sprite->surface, copy, {target.get(), sprite->surface.get()});
}

bool place_rect(int x, int y, const Rect& source_rect, Placed& placed) {
    const long long width = static_cast<long long>(source_rect.right) - source_rect.left;
    const long long height = static_cast<long long>(source_rect.bottom) - source_rect.top;
    if (x > display.screen_width || y > display.screen_height || x + width < 0 || y + height < 0)
        return false;
    return place_on_screen(x, y, source_rect, placed);
}

} // namespace

Sprite::Sprite(const Surface& sheet, int left, int top, int right, int bottom) {
    const long long w = static_cast<long long>(right) - left;
    const long long h = static_cast<long long>(bottom) - top;
    if (!display.direct_draw || !fits_int(w) || !fits_int(h))
        return;
    width = static_cast<std::int32_t>(w);
    height = static_cast<std::int32_t>(h);
    if (display.direct_draw->create_surface(width, height, surface) != platform::Result::Ok) {
        surface.reset();
        return;
    }
    if (sheet)
        surface->blt_fast(0, 0, *sheet, {left, top, right, bottom}, Copy::Opaque);
    surface->set_color_key(0);
}

Sprite::~Sprite() {
    surface.reset();
}

std::unique_ptr<Sprite> make_sprite(const Surface& sheet, int left, int top, int right,
                                    int bottom) {
    return std::make_unique<Sprite>(sheet, left, top, right, bottom);
}

void draw_sprite(const Sprite* sprite, const Surface& target, int x, int y) {
    draw_sprite_with(sprite, target, x, y, Copy::Opaque);
}

void draw_sprite_keyed(const Sprite* sprite, const Surface& target, int x, int y) {
    draw_sprite_with(sprite, target, x, y, Copy::SourceColorKey);
}

void copy_screen(const Surface& target, const Surface& source) {
    const Placed whole{0, 0, {0, 0, display.screen_width, display.screen_height}};
    copy_placed(target, whole, source, Copy::Opaque, {source.get()});
}

void blit_rect(const Surface& target, int x, int y, const Rect& source_rect,
               const Surface& source) {
    Placed placed{};
    if (place_rect(x, y, source_rect, placed))
        copy_placed(target, placed, source, Copy::Opaque, {source.get(), target.get()});
}

void blit_rect_keyed(const Surface& target, int x, int y, const Rect& source_rect,
                     const Surface& source) {
    Placed placed{};
    if (place_rect(x, y, source_rect, placed))
        copy_placed(target, placed, source, Copy::SourceColorKey, {source.get()});
}
