// JPEG pictures through libjpeg into a locked-pixel target, on arbitrary files and displays.

#include <algorithm>
#include <vector>

#include "fuzz_picture_input.h"
#include "res/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PictureInput input = split_picture_input(data, size);
    JpegReader reader(input.file);
    if (!reader.ok() || claims_too_much({reader.width(), reader.height()}))
        return 0;
    // A target smaller than large pictures, as an existing surface may be.
    PixelTarget target;
    target.width = std::min(reader.width(), 300);
    target.height = std::min(reader.height(), 200);
    target.pitch = static_cast<std::size_t>(target.width) * input.format.bytes_per_pixel();
    std::vector<std::uint8_t> pixels(target.pitch * target.height);
    target.pixels = pixels.data();
    reader.decode_into(target, input.format);
    return 0;
}
