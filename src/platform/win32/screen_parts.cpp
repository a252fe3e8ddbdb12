#include "platform/win32/screen_parts.h"

#include <array>

namespace win32 {
namespace {

// Full-screen: the primary surface heads a flipping chain and shows
// through an 8-bit palette.
HRESULT make_chain(int back_buffers, ScreenParts& parts) {
    DDSURFACEDESC2 wanted{};
    wanted.dwSize = sizeof wanted;
    wanted.dwFlags = DDSD_CAPS;
    wanted.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (back_buffers > 0) {
        wanted.dwFlags |= DDSD_BACKBUFFERCOUNT;
        wanted.dwBackBufferCount = static_cast<DWORD>(back_buffers);
        wanted.ddsCaps.dwCaps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    }
    IDirectDrawSurface7* primary = nullptr;
    if (const HRESULT result = parts.direct_draw->CreateSurface(&wanted, &primary, nullptr);
        result != DD_OK)
        return result;
    parts.primary = hold(primary);
    if (back_buffers > 0) {
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        IDirectDrawSurface7* back = nullptr;
        if (const HRESULT result = primary->GetAttachedSurface(&caps, &back); result != DD_OK)
            return result;
        parts.back = hold(back);
    }
    std::array<PALETTEENTRY, 256> black{};
    IDirectDrawPalette* palette = nullptr;
    if (const HRESULT result = parts.direct_draw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256,
                                                                black.data(), &palette, nullptr);
        result != DD_OK)
        return result;
    parts.palette = hold(palette);
    return primary->SetPalette(palette);
}

// Windowed: the desktop's primary surface, clipped to the window, and a
// picture of the desktop's size and depth to copy from.
HRESULT make_window(HWND window, ScreenParts& parts) {
    DDSURFACEDESC2 wanted{};
    wanted.dwSize = sizeof wanted;
    wanted.dwFlags = DDSD_CAPS;
    wanted.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* primary = nullptr;
    if (const HRESULT result = parts.direct_draw->CreateSurface(&wanted, &primary, nullptr);
        result != DD_OK)
        return result;
    parts.primary = hold(primary);
    IDirectDrawClipper* clipper = nullptr;
    if (const HRESULT result = parts.direct_draw->CreateClipper(0, &clipper, nullptr);
        result != DD_OK)
        return result;
    parts.clipper = hold(clipper);
    clipper->SetHWnd(0, window);
    primary->SetClipper(clipper);

    DDSURFACEDESC2 desktop{};
    desktop.dwSize = sizeof desktop;
    primary->GetSurfaceDesc(&desktop);
    DDSURFACEDESC2 staging{};
    staging.dwSize = sizeof staging;
    staging.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    staging.dwWidth = desktop.dwWidth;
    staging.dwHeight = desktop.dwHeight;
    staging.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface7* picture = nullptr;
    if (const HRESULT result = parts.direct_draw->CreateSurface(&staging, &picture, nullptr);
        result != DD_OK)
        return result;
    parts.staging = hold(picture);
    return DD_OK;
}

} // namespace

HRESULT make_screen_parts(const ScreenSetup& setup, ScreenParts& parts) {
    return setup.exclusive ? make_chain(setup.back_buffers, parts)
                           : make_window(setup.window, parts);
}

HRESULT set_mode(IDirectDraw7& direct_draw, const ScreenSetup& setup) {
    return direct_draw.SetDisplayMode(static_cast<DWORD>(setup.mode_width),
                                      static_cast<DWORD>(setup.mode_height),
                                      static_cast<DWORD>(setup.mode_depth), 0, 0);
}

void release_surfaces(ScreenParts& parts) {
    parts.clipper.reset();
    parts.staging.reset();
    parts.palette.reset();
    parts.back.reset();
    parts.primary.reset();
}

} // namespace win32
