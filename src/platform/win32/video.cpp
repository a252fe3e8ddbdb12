#include "platform/video.h"
#include "platform/win32/game_window.h"
#include "platform/win32/screen_surface.h"

namespace win32 {
namespace {

using platform::Result;

template <class Interface> Com<Interface> hold(Interface* object) {
    return Com<Interface>(object);
}

// The game's off-screen surfaces are its own software pictures; only the
// visible one is DirectDraw's.
class Device : public platform::SoftwareVideoDevice {
  public:
    explicit Device(Com<IDirectDraw7> direct_draw) : direct_draw_(std::move(direct_draw)) {}

    Result set_cooperative_level(platform::Window& window,
                                 platform::CooperativeLevel level) override {
        auto* game_window = dynamic_cast<GameWindow*>(&window);
        if (!game_window)
            return Result::InvalidParams;
        window_ = game_window->handle();
        exclusive_ = level == platform::CooperativeLevel::ExclusiveFullscreen;
        const DWORD flags = exclusive_ ? DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN : DDSCL_NORMAL;
        return result_of(direct_draw_->SetCooperativeLevel(window_, flags));
    }

    Result set_display_mode(int width, int height, int depth) override {
        return result_of(direct_draw_->SetDisplayMode(static_cast<DWORD>(width),
                                                      static_cast<DWORD>(height),
                                                      static_cast<DWORD>(depth), 0, 0));
    }

    Result restore_display_mode() override { return result_of(direct_draw_->RestoreDisplayMode()); }

    Result create_primary_surface(int back_buffers, platform::SurfaceRef& surface) override {
        if (!window_ || (back_buffers > 0 && !exclusive_))
            return Result::NoExclusiveMode;
        ScreenParts parts;
        direct_draw_->AddRef();
        parts.direct_draw = hold(direct_draw_.get());
        const Result made = exclusive_ ? make_chain(back_buffers, parts) : make_window(parts);
        if (made != Result::Ok)
            return made;
        DDSURFACEDESC2 described{};
        described.dwSize = sizeof described;
        parts.primary->GetSurfaceDesc(&described);
        const int width = static_cast<int>(described.dwWidth);
        const int height = static_cast<int>(described.dwHeight);
        if (!platform::Surface::valid_format(width, height, 8))
            return Result::Unsupported;
        auto screen = std::make_shared<ScreenSurface>(std::move(parts), width, height);
        if (back_buffers > 0)
            screen->chain(std::make_shared<platform::Surface>(width, height, 8));
        surface = std::move(screen);
        return Result::Ok;
    }

    Result flip_to_gdi_surface() override { return result_of(direct_draw_->FlipToGDISurface()); }

  private:
    // Full-screen: the primary surface heads a flipping chain and shows
    // through an 8-bit palette.
    Result make_chain(int back_buffers, ScreenParts& parts) {
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
        if (const HRESULT result = direct_draw_->CreateSurface(&wanted, &primary, nullptr);
            result != DD_OK)
            return result_of(result);
        parts.primary = hold(primary);
        if (back_buffers > 0) {
            DDSCAPS2 caps{};
            caps.dwCaps = DDSCAPS_BACKBUFFER;
            IDirectDrawSurface7* back = nullptr;
            if (const HRESULT result = primary->GetAttachedSurface(&caps, &back); result != DD_OK)
                return result_of(result);
            parts.back = hold(back);
        }
        std::array<PALETTEENTRY, 256> black{};
        IDirectDrawPalette* palette = nullptr;
        if (const HRESULT result = direct_draw_->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256,
                                                               black.data(), &palette, nullptr);
            result != DD_OK)
            return result_of(result);
        parts.palette = hold(palette);
        return result_of(primary->SetPalette(palette));
    }

    // Windowed: the desktop's primary surface, clipped to the window, and a
    // picture of the desktop's size and depth to copy from.
    Result make_window(ScreenParts& parts) {
        DDSURFACEDESC2 wanted{};
        wanted.dwSize = sizeof wanted;
        wanted.dwFlags = DDSD_CAPS;
        wanted.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        IDirectDrawSurface7* primary = nullptr;
        if (const HRESULT result = direct_draw_->CreateSurface(&wanted, &primary, nullptr);
            result != DD_OK)
            return result_of(result);
        parts.primary = hold(primary);
        IDirectDrawClipper* clipper = nullptr;
        if (const HRESULT result = direct_draw_->CreateClipper(0, &clipper, nullptr);
            result != DD_OK)
            return result_of(result);
        parts.clipper = hold(clipper);
        clipper->SetHWnd(0, window_);
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
        if (const HRESULT result = direct_draw_->CreateSurface(&staging, &picture, nullptr);
            result != DD_OK)
            return result_of(result);
        parts.staging = hold(picture);
        return Result::Ok;
    }

    Com<IDirectDraw7> direct_draw_;
    HWND window_ = nullptr;
    bool exclusive_ = false;
};

} // namespace
} // namespace win32

namespace platform {

Result create_video_device(std::unique_ptr<VideoDevice>& device) {
    IDirectDraw7* direct_draw = nullptr;
    if (DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&direct_draw), IID_IDirectDraw7,
                           nullptr) != DD_OK)
        return Result::Generic;
    device = std::make_unique<win32::Device>(win32::hold(direct_draw));
    return Result::Ok;
}

} // namespace platform
