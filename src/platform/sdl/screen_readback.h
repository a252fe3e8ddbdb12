#pragma once

// Looking at what the SDL backend put on the screen, for its tests.

#include <cstdint>
#include <vector>

namespace sdl {

// The window's rendered picture as 0xAARRGGBB pixels, row by row; false when
// there is none.
bool read_screen(std::vector<std::uint32_t>& pixels, int& width, int& height);

// The refresh rate presents are paced to, 0 before the screen exists.
double present_rate();

} // namespace sdl
