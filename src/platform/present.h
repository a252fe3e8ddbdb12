#pragma once

// Turning the 8-bit picture into true-colour pixels for the screen.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/video.h"

namespace platform {

// 0xAARRGGBB for every palette index (opaque).
using ColourTable = std::array<std::uint32_t, 256>;

ColourTable colour_table(const PaletteEntries& entries);

// Follows the palette attached to a screen, so that the picture is converted
// anew only when its colours have changed.
class ColourTracker {
  public:
    ColourTracker() { colours_.fill(0xFF000000u); }
    // True when `palette` (null: all black) is another one than last time,
    // or has changed since, or forget() was called; colours() then holds its
    // colours.
    bool take(const DevicePalette* palette);
    const ColourTable& colours() const { return colours_; }
    // Whether any colour is other than black.
    bool lit() const;
    void forget() { forgotten_ = true; }

  private:
    ColourTable colours_;
    const DevicePalette* seen_ = nullptr;
    std::uint32_t version_ = 0;
    bool forgotten_ = false;
};

// Converts `area` of an 8-bit picture (`pixels`, `pitch` bytes a row) into
// 32-bit pixels at `out` (the area's top-left), `out_pitch` bytes a row.
void convert_to_argb(const std::uint8_t* pixels, int pitch, const Rect& area,
                     const ColourTable& colours, std::uint32_t* out, int out_pitch);

// A copy of the 8-bit picture as last shown, so that a present converts and
// shows only what really changed: screens that draw the same picture again
// and again then cost next to nothing.
class ShownPicture {
  public:
    ShownPicture(int width, int height);

    // The band of rows of `area` (its columns only) in which `pixels` differ
    // from the copy, empty (zero height) when none do; the copy is brought up
    // to date.
    Rect update(const std::uint8_t* pixels, int pitch, const Rect& area);

  private:
    int width_;
    std::vector<std::uint8_t> copy_;
};

} // namespace platform
