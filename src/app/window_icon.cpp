#include "app/window_icon.h"

#include <vector>

#include "gfx/display.h"
#include "res/picture.h"

namespace {

// Like the sprites' colour key, index 0 is where the icon is see-through.
constexpr std::uint8_t see_through = 0;

// A 6-bit palette component spread over the 8-bit range.
std::uint8_t widened(std::uint8_t component) {
    return static_cast<std::uint8_t>(component * 4 + component / 16);
}

std::vector<std::uint8_t> rgba_pixels(const platform::LockedPixels& locked,
                                      const Palette& palette) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(locked.width) * std::size_t(locked.height) * 4);
    for (int y = 0; y < locked.height; ++y) {
        const std::uint8_t* row = locked.pixels + std::size_t(y) * std::size_t(locked.pitch);
        for (int x = 0; x < locked.width; ++x) {
            const std::size_t entry = std::size_t(row[x]) * 3;
            rgba.insert(rgba.end(), {widened(palette[entry]), widened(palette[entry + 1]),
                                     widened(palette[entry + 2]),
                                     std::uint8_t(row[x] == see_through ? 0 : 255)});
        }
    }
    return rgba;
}

} // namespace

void show_window_icon() {
    Surface icon;
    Palette palette{};
    if (!display.window || load_picture("ICON.PIX", icon, &palette) != 1 || !icon ||
        icon->depth() != 8)
        return;
    platform::LockedPixels locked;
    if (icon->lock(locked) != platform::Result::Ok)
        return;
    const std::vector<std::uint8_t> rgba = rgba_pixels(locked, palette);
    icon->unlock();
    display.window->set_icon(locked.width, locked.height, rgba.data());
}
