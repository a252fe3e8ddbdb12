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

ScreenSurface::ScreenSurface(ScreenParts parts, const ScreenSetup& setup, int width, int height)
    : Surface(width, height, 8), parts_(std::move(parts)), setup_(setup) {
    backend().screen = this;
}

ScreenSurface::~ScreenSurface() {
    if (backend().screen == this)
        backend().screen = nullptr;
    release_surfaces(parts_);
}

void ScreenSurface::repaint() {
    show({0, 0, width(), height()});
}

Result ScreenSurface::ready() {
    if (!parts_.primary || parts_.primary->IsLost() == DDERR_SURFACELOST)
        return Result::SurfaceLost;
    if (parts_.staging && parts_.staging->IsLost() == DDERR_SURFACELOST)
        return Result::SurfaceLost;
    return Result::Ok;
}

Result ScreenSurface::restore() {
    // Restoring the primary surface restores its whole flipping chain;
    // surfaces that could not be made again wait for another try.
    HRESULT result = parts_.primary ? parts_.primary->Restore() : DDERR_WRONGMODE;
    if (result == DD_OK && parts_.staging)
        result = parts_.staging->Restore();
    // Another program changed the display mode: the surfaces can never come
    // back. In front again, the game sets its mode and makes them anew; in
    // the background it must leave the display to the program in front.
    if (result == DDERR_WRONGMODE && GetForegroundWindow() == setup_.window)
        result = remake();
    if (result == DD_OK && parts_.palette)
        parts_.primary->SetPalette(parts_.palette.get());
    colours_.forget(); // everything is shown anew
    if (result == DD_OK)
        repaint(); // the picture is all here: nobody needs to draw it again
    return result_of(result);
}

// The old surfaces, made for the other mode, go before the mode is set
// again, as none were there when the display first opened.
HRESULT ScreenSurface::remake() {
    release_surfaces(parts_);
    HRESULT result = setup_.exclusive ? set_mode(*parts_.direct_draw, setup_) : DD_OK;
    if (result == DD_OK)
        result = make_screen_parts(setup_, parts_);
    if (result != DD_OK)
        release_surfaces(parts_); // none or all
    return result;
}

void ScreenSurface::present_exclusive(bool exclusive) {
    if (exclusive == setup_.exclusive)
        return;
    release_surfaces(parts_); // before the display changes under them
    if (!exclusive)
        parts_.direct_draw->RestoreDisplayMode();
    parts_.direct_draw->SetCooperativeLevel(
        setup_.window, exclusive ? DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN : DDSCL_NORMAL);
    setup_.exclusive = exclusive;
    setup_.back_buffers = exclusive ? 1 : 0;
    restore(); // without surfaces: all made anew, in the mode, and shown
    if (exclusive && !parts_.primary)
        present_exclusive(false); // a display without the mode keeps the window
}

void ScreenSurface::show(const Rect& area) {
    if (!parts_.primary)
        return;
    if (setup_.exclusive)
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
    const POINT at = origin();
    RECT shown = band;
    OffsetRect(&shown, at.x, at.y);
    parts_.primary->Blt(&shown, parts_.staging.get(), &band, DDBLT_WAIT, nullptr);
}

POINT ScreenSurface::origin() const {
    POINT at{0, 0};
    if (!setup_.desktop_coordinates)
        ClientToScreen(setup_.window, &at);
    return at;
}

} // namespace win32
