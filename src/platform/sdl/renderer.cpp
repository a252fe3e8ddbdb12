#include "platform/sdl/renderer.h"

#include <cstring>

namespace sdl {

// The picture is converted from 8 bits on the processor whatever draws it,
// and in a window of its own size it is only copied. SDL's software renderer
// does that with the least work and memory and keeps the OpenGL stack (and,
// with a software rasteriser, its code generator) out of the process:
// measured under a virtual display, it uses a fraction of the processor time
// and less than half the memory of the OpenGL renderer. SDL_RENDER_DRIVER
// still chooses another one.
SDL_Renderer* create_renderer(SDL_Window* window) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // Otherwise SDL puts the software renderer's window surface on an OpenGL
    // texture of its own, which loads that stack after all.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_RendererInfo info{};
    // Presents are paced to the refresh rate anyway; a driver that can wait
    // for the display's refresh itself does so too, to avoid tearing. The
    // software renderer could only imitate it, and would then wait twice.
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0 &&
        std::strcmp(info.name, "software") != 0)
        SDL_RenderSetVSync(renderer, 1);
    return renderer;
}

} // namespace sdl
