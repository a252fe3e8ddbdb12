#pragma once

#include <cstdint>
#include <span>

#include "res/image.h"

// The picture formats load_picture tells apart by the file name.
enum class PictureFormat { Jpg, Tga, Pi1, Bmp, Pcx, Pic, Gif, Pix, None };

// The first of ".JPG", ".TGA", ".PI1", ".BMP", ".PCX", ".PIC", ".GIF", ".PIX" found anywhere
// in the name, letter case ignored; None when it holds none of them.
PictureFormat picture_format_of(const char* name);

// Decodes a picture file held in memory into `image`, whose palette holds the caller's colours
// on entry (entries the format does not set keep them). Afterwards the image is never larger
// than its pixel buffer: width x height x depth / 8 bytes are there to copy, or the size is 0.
// JPG, GIF and unknown names decode nothing.
void decode_picture(PictureFormat format, std::span<const std::uint8_t> file,
                    const DisplayFormat& display_format, Image& image);
