#include "platform/video.h"

namespace platform {

Result SoftwareVideoDevice::create_surface(int width, int height, SurfaceRef& surface) {
    if (!Surface::valid_format(width, height, depth()))
        return Result::InvalidParams;
    surface = std::make_shared<Surface>(width, height, depth());
    return Result::Ok;
}

Result SoftwareVideoDevice::create_palette(const PaletteEntries& entries,
                                           std::shared_ptr<DevicePalette>& palette) {
    palette = std::make_shared<DevicePalette>(entries);
    return Result::Ok;
}

Result SoftwareVideoDevice::create_clipper(std::shared_ptr<Clipper>& clipper) {
    clipper = std::make_shared<Clipper>();
    return Result::Ok;
}

} // namespace platform
