#include "platform/win32/screen_surface.h"
#include "platform/trace.h"

#include <algorithm>
#include <cstring>

namespace win32 {
namespace {

using platform::Rect;
using platform::Result;

// Where a colour channel lies within a pixel of the desktop's format.
struct Channel {
    int shift = 0;
    int bits = 0;
};

Channel channel_of(DWORD mask) {
    Channel channel;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++channel.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++channel.bits;
    }
    return channel;
}

std::uint32_t place(std::uint32_t value, const Channel& channel) {
    if (channel.bits == 0)
        return 0;
    return (value >> (8 - std::min(channel.bits, 8))) << channel.shift;
}

// The palette's colours as pixels of the desktop's format.
std::array<std::uint32_t, 256> desktop_colours(const platform::ColourTable& argb,
                                               const DDPIXELFORMAT& format) {
    const Channel red = channel_of(format.dwRBitMask);
    const Channel green = channel_of(format.dwGBitMask);
    const Channel blue = channel_of(format.dwBBitMask);
    std::array<std::uint32_t, 256> pixels{};
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = place(argb[i] >> 16 & 0xFF, red) | place(argb[i] >> 8 & 0xFF, green) |
                    place(argb[i] & 0xFF, blue);
    return pixels;
}

void write_pixel(std::uint8_t* out, std::uint32_t pixel, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(pixel >> (8 * i));
}

} // namespace

ScreenSurface::ScreenSurface(ScreenParts parts, int width, int height)
    : Surface(width, height, 8), parts_(std::move(parts)) {
    backend().screen = this;
}

ScreenSurface::~ScreenSurface() {
    if (backend().screen == this)
        backend().screen = nullptr;
    // The chain's surfaces go before the object that made them.
    parts_.clipper.reset();
    parts_.staging.reset();
    parts_.palette.reset();
    parts_.back.reset();
    parts_.primary.reset();
}

void ScreenSurface::repaint() {
    show({0, 0, width(), height()});
}

Result ScreenSurface::ready() {
    if (parts_.primary->IsLost() == DDERR_SURFACELOST)
        return Result::SurfaceLost;
    if (parts_.staging && parts_.staging->IsLost() == DDERR_SURFACELOST)
        return Result::SurfaceLost;
    return Result::Ok;
}

Result ScreenSurface::restore() {
    // Restoring the primary surface restores its whole flipping chain.
    HRESULT result = parts_.primary->Restore();
    if (result == DD_OK && parts_.staging)
        result = parts_.staging->Restore();
    if (result == DD_OK && parts_.palette)
        parts_.primary->SetPalette(parts_.palette.get());
    colours_.forget(); // everything is shown anew
    return result_of(result);
}

void ScreenSurface::show(const Rect& area) {
    if (parts_.back || parts_.palette)
        show_fullscreen();
    else
        show_windowed(colours_.take(palette().get()) ? Rect{0, 0, width(), height()} : area);
    platform::trace_present(colours_.lit());
}

void ScreenSurface::show_fullscreen() {
    if (colours_.take(palette().get()) && palette()) {
        std::array<PALETTEENTRY, 256> entries{};
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const platform::PaletteEntry& entry = palette()->entries()[i];
            entries[i] = {entry.red, entry.green, entry.blue, 0};
        }
        parts_.palette->SetEntries(0, 0, 256, entries.data());
    }
    IDirectDrawSurface7* target = parts_.back ? parts_.back.get() : parts_.primary.get();
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (target->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK)
        return;
    auto* out = static_cast<std::uint8_t*>(locked.lpSurface);
    const int rows = std::min(height(), static_cast<int>(locked.dwHeight));
    const int columns = std::min(width(), static_cast<int>(locked.dwWidth));
    for (int y = 0; y < rows; ++y)
        std::memcpy(out + std::size_t(y) * locked.lPitch, row(y), std::size_t(columns));
    target->Unlock(nullptr);
    if (parts_.back)
        parts_.primary->Flip(nullptr, DDFLIP_WAIT);
}

void ScreenSurface::show_windowed(const Rect& area) {
    RECT band{area.left, area.top, area.right, area.bottom};
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (parts_.staging->Lock(&band, &locked, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK)
        return;
    const int bytes = static_cast<int>(locked.ddpfPixelFormat.dwRGBBitCount / 8);
    const std::array<std::uint32_t, 256> pixels =
        desktop_colours(colours_.colours(), locked.ddpfPixelFormat);
    auto* out = static_cast<std::uint8_t*>(locked.lpSurface);
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* in = row(y) + area.left;
        std::uint8_t* line = out + std::size_t(y - area.top) * locked.lPitch;
        for (int x = 0; x < area.width(); ++x)
            write_pixel(line + std::size_t(x) * bytes, bytes == 1 ? in[x] : pixels[in[x]], bytes);
    }
    parts_.staging->Unlock(&band);
    // The clipper keeps the copy to the parts of the window that are visible.
    parts_.primary->Blt(&band, parts_.staging.get(), &band, DDBLT_WAIT, nullptr);
}

} // namespace win32
