// The PIX decoder on arbitrary files and displays.

#include <cstring>

#include "fuzz_picture_input.h"
#include "res/byte_order.h"
#include "res/pix_format.h"

namespace {

ClaimedSize pix_claim(std::span<const std::uint8_t> file) {
    if (file.size() < pix_header_size || std::memcmp(file.data(), "PIX", 3) != 0)
        return {};
    return {read_i16le(&file[pix_width_field]), read_i16le(&file[pix_height_field])};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_decode(PictureFormat::Pix, data, size, pix_claim);
    return 0;
}
