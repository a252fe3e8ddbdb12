#pragma once

#include <SDL.h>

namespace sdl {

// The renderer that shows the game's picture in `window`, or null. See
// renderer.cpp for which one and why.
SDL_Renderer* create_renderer(SDL_Window* window);

} // namespace sdl
