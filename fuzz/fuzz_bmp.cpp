// The BMP decoder on arbitrary files and displays.

#include "fuzz_picture_input.h"
#include "res/byte_order.h"

namespace {

// The width and height fields of the info header.
ClaimedSize bmp_claim(std::span<const std::uint8_t> file) {
    if (file.size() < 26)
        return {};
    return {read_i32le(&file[18]), read_i32le(&file[22])};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_decode(PictureFormat::Bmp, data, size, bmp_claim);
    return 0;
}
