#include "gfx/palette.h"

#include "gfx/display.h"

platform::PaletteEntries palette_entries;

namespace {
// The entry belongs to this palette and is not matched against others.
constexpr std::uint8_t pc_explicit = 2;
} // namespace

void set_palette(const Palette& palette) {
    if (display.depth != 8 || !display.direct_draw)
        return;
    for (std::size_t i = 0; i < palette_entries.size(); ++i)
        palette_entries[i] = {static_cast<std::uint8_t>(palette[3 * i] * 4),
                              static_cast<std::uint8_t>(palette[3 * i + 1] * 4),
                              static_cast<std::uint8_t>(palette[3 * i + 2] * 4), pc_explicit};
    if (!display.palette) {
        if (display.direct_draw->create_palette(palette_entries, display.palette) !=
            platform::Result::Ok) {
            display.palette.reset();
            return;
        }
        if (display.front_buffer)
            display.front_buffer->set_palette(display.palette);
    } else {
        display.palette->set_entries(0, 256, palette_entries.data());
    }
}
