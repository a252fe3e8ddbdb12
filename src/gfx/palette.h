#pragma once

// The display's 256 colours.

#include "gfx/picture_palette.h"
#include "platform/video.h"

// The device colours last set, 8 bits a component.
extern platform::PaletteEntries palette_entries;

// Makes `palette` (6-bit components) the display's colours; does nothing
// unless the display has 8 bits a pixel.
void set_palette(const Palette& palette);
