#include "platform/present.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {

ColourTable colour_table(const PaletteEntries& entries) {
    ColourTable table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = 0xFF000000u | std::uint32_t(entries[i].red) << 16 |
                   std::uint32_t(entries[i].green) << 8 | entries[i].blue;
    return table;
}

bool ColourTracker::lit() const {
    return std::any_of(colours_.begin(), colours_.end(),
                       [](std::uint32_t colour) { return colour != 0xFF000000u; });
}

bool ColourTracker::take(const DevicePalette* palette) {
    const std::uint32_t version = palette ? palette->version() : 0;
    if (palette == seen_ && version == version_ && !forgotten_)
        return false;
    seen_ = palette;
    version_ = version;
    forgotten_ = false;
    if (palette)
        colours_ = colour_table(palette->entries());
    else
        colours_.fill(0xFF000000u);
    return true;
}

void convert_to_argb(const std::uint8_t* pixels, int pitch, const Rect& area,
                     const ColourTable& colours, std::uint32_t* out, int out_pitch) {
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* in = pixels + std::size_t(y) * pitch + area.left;
        auto* row = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) +
                                                     std::size_t(y - area.top) * out_pitch);
        for (int x = 0; x < area.width(); ++x)
            row[x] = colours[in[x]];
    }
}

ShownPicture::ShownPicture(int width, int height)
    : width_(width), copy_(std::size_t(width) * height, 0) {}

Rect ShownPicture::update(const std::uint8_t* pixels, int pitch, const Rect& area) {
    Rect changed{area.left, area.top, area.right, area.top};
    const std::size_t length = std::size_t(area.width());
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* in = pixels + std::size_t(y) * pitch + area.left;
        std::uint8_t* kept = copy_.data() + std::size_t(y) * width_ + area.left;
        if (std::memcmp(in, kept, length) == 0)
            continue;
        std::memcpy(kept, in, length);
        if (changed.height() == 0)
            changed.top = y;
        changed.bottom = y + 1;
    }
    return changed;
}

} // namespace platform
