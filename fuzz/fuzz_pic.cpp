// The PIC decoder on arbitrary files and displays.

#include "fuzz_picture_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_decode(PictureFormat::Pic, data, size);
    return 0;
}
