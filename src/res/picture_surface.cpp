#include "res/picture_surface.h"

#include "res/image.h"

namespace {

// Waiting on a busy surface ends after this many attempts rather than never.
constexpr int lock_attempts = 100;

} // namespace

bool create_picture_surface(std::int32_t width, std::int32_t height, Surface& surface) {
    if (!display.direct_draw || !is_picture_size(width, height))
        return false;
    return display.direct_draw->create_surface(width, height, surface) == platform::Result::Ok &&
           surface != nullptr;
}

bool lock_waiting(platform::Surface& surface, platform::LockedPixels& locked) {
    for (int attempt = 0; attempt < lock_attempts; ++attempt) {
        const platform::Result result = surface.lock(locked);
        if (result != platform::Result::WasStillDrawing)
            return result == platform::Result::Ok;
    }
    return false;
}
