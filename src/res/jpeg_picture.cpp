#include "res/jpeg_reader.h"
#include "res/picture.h"
#include "res/picture_surface.h"
#include "res/resource.h"

namespace {

// The pixels are written in the surface's own format, so a surface of another depth than the
// display's is never overrun.
void decode_into_surface(JpegReader& reader, platform::Surface& surface) {
    platform::LockedPixels locked;
    if (!lock_waiting(surface, locked))
        return;
    DisplayFormat format = display_format();
    format.depth = locked.depth;
    const PixelTarget target{locked.pixels, static_cast<std::size_t>(locked.pitch), locked.width,
                             locked.height};
    reader.decode_into(target, format);
    surface.unlock();
}

} // namespace

void load_jpeg_to_surface(const char* name, Surface& surface) {
    std::FILE* file = open_resource(name);
    if (file == nullptr)
        return;
    const std::vector<std::uint8_t> bytes = read_resource(file, resource_size);
    std::fclose(file);
    JpegReader reader(bytes);
    if (!reader.ok())
        return;
    // A device short of display memory may refuse the first request; the
    // second one may still be met from system memory.
    if (!surface && !create_picture_surface(reader.width(), reader.height(), surface) &&
        !create_picture_surface(reader.width(), reader.height(), surface))
        return;
    decode_into_surface(reader, *surface);
}
