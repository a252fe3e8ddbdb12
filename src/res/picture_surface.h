#pragma once

#include "gfx/display.h"

// Surfaces that pictures are loaded into.

// Creates an off-screen surface of the display's format; false when the size is no picture or
// the device refuses.
bool create_picture_surface(std::int32_t width, std::int32_t height, Surface& surface);

// Locks the whole surface, waiting while the device is busy; false when it cannot be locked.
bool lock_waiting(platform::Surface& surface, platform::LockedPixels& locked);
