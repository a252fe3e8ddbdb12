#pragma once

#include <cstdint>

#include "gfx/display.h"
#include "gfx/picture_palette.h"
#include "res/image.h"

// Loads the picture file `name` (found by open_resource) into `surface`, creating a surface of
// the picture's size when `surface` is null, and delivers its colours into `palette` when one
// is given. The decoder is chosen by the name: ".JPG", ".TGA", ".PI1", ".BMP", ".PCX", ".PIC",
// ".GIF", ".PIX" anywhere in it, letter case ignored, the first of that list found winning.
// Result: 1 loaded (always for JPG names), 0 not found, -2 no surface could be created (also
// when the file held no picture to make one of).
std::int8_t load_picture(const char* name, Surface& surface, Palette* palette);

// Decodes a JPEG picture straight into `surface` (created when null) in the display's pixel
// format; any problem leaves the picture undrawn.
void load_jpeg_to_surface(const char* name, Surface& surface);

// Makes pixels of palette index `index` transparent in keyed copies from `surface`.
void set_source_color_key(const Surface& surface, std::uint8_t index);

// Sets every colour of `palette` to black.
void clear_palette(Palette& palette);

// The display's size and pixel format, which pictures are decoded for.
DisplayFormat display_format();
