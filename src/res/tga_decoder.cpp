#include <algorithm>
#include <array>

#include "res/byte_order.h"
#include "res/picture_decoders.h"

namespace {

constexpr std::size_t tga_header_size = 18;

// The index of a 6-bit colour: the first equal entry, else the first all-black entry from 1
// up takes the colour; when none is left the colour becomes index 0. The palette starts all
// black and entries are only given, from 1 up, to colours no entry holds yet, so a colour has
// at most one entry besides black's 0: a small hash table finds it without a search of the
// palette for every pixel.
class ColourIndex {
  public:
    explicit ColourIndex(Palette& palette) : palette_(palette) {}

    std::uint8_t index_of(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        const std::uint32_t colour = std::uint32_t{red} << 12 | std::uint32_t{green} << 6 | blue;
        if (colour == 0)
            return 0;
        // At most 255 of the slots are taken, so a free one always ends the probe.
        std::size_t slot = (colour * 2654435761u) >> (32 - slot_bits);
        for (; slots_[slot].colour != 0; slot = (slot + 1) % slots_.size())
            if (slots_[slot].colour == colour)
                return slots_[slot].index;
        if (next_free_ == 256)
            return 0;
        const auto index = static_cast<std::uint8_t>(next_free_++);
        palette_[3 * index] = red;
        palette_[3 * index + 1] = green;
        palette_[3 * index + 2] = blue;
        slots_[slot] = {colour, index};
        return index;
    }

  private:
    static constexpr int slot_bits = 9;
    struct Slot {
        std::uint32_t colour = 0; // 0: free
        std::uint8_t index = 0;
    };

    Palette& palette_;
    std::array<Slot, std::size_t{1} << slot_bits> slots_{};
    int next_free_ = 1;
};

} // namespace

void load_tga(std::span<const std::uint8_t> file, Image& image) {
    image.palette.fill(0);
    image.width = 0;
    image.height = 0;
    if (file.size() < tga_header_size)
        return;
    image.width = read_u16le(&file[12]);
    image.height = read_u16le(&file[14]);
    const std::size_t pixel_count = static_cast<std::size_t>(image.width) * image.height;
    const std::size_t stored = (file.size() - tga_header_size) / 3;
    const std::size_t count = std::min({pixel_count, stored, image.pixels.size()});
    ColourIndex colours(image.palette);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* bgr = &file[tga_header_size + 3 * i];
        image.pixels[i] = colours.index_of(static_cast<std::uint8_t>(bgr[2] >> 2),
                                           static_cast<std::uint8_t>(bgr[1] >> 2),
                                           static_cast<std::uint8_t>(bgr[0] >> 2));
    }
}
