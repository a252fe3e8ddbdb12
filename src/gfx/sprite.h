#pragma once

// Sprites (a rectangle cut from a sheet into a surface of its own) and the
// copies that put sprites, screens and picture rectangles into a surface,
// clipped to the screen.

#include <cstdint>
#include <memory>

#include "gfx/display.h"

class Sprite {
  public:
    // Cuts (left, top, right, bottom) of `sheet` into the sprite's own
    // surface, with index 0 as its transparent colour. When the surface
    // cannot be made, the sprite draws nothing.
    Sprite(const Surface& sheet, int left, int top, int right, int bottom);
    virtual ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    Surface surface;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

std::unique_ptr<Sprite> make_sprite(const Surface& sheet, int left, int top, int right, int bottom);

// Copies the whole sprite with its top-left at (x, y); index 0 is copied.
void draw_sprite(const Sprite* sprite, const Surface& target, int x, int y);
// The same with index 0 left out.
void draw_sprite_keyed(const Sprite* sprite, const Surface& target, int x, int y);
// Copies the screen-sized top-left of `source` to the top-left of `target`.
void copy_screen(const Surface& target, const Surface& source);
// Copies `source_rect` of `source` with its top-left at (x, y).
void blit_rect(const Surface& target, int x, int y, const platform::Rect& source_rect,
               const Surface& source);
// The same with index 0 left out.
void blit_rect_keyed(const Surface& target, int x, int y, const platform::Rect& source_rect,
                     const Surface& source);
