#include "platform/video.h"
#include "platform/win32/game_window.h"
#include "platform/win32/screen_surface.h"

namespace win32 {
namespace {

using platform::Result;

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
        setup_.window = game_window->handle();
        setup_.exclusive = level == platform::CooperativeLevel::ExclusiveFullscreen;
        const DWORD flags = setup_.exclusive ? DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN : DDSCL_NORMAL;
        return result_of(direct_draw_->SetCooperativeLevel(setup_.window, flags));
    }

    Result set_display_mode(int width, int height, int depth) override {
        setup_.mode_width = width;
        setup_.mode_height = height;
        setup_.mode_depth = depth;
        return result_of(set_mode(*direct_draw_, setup_));
    }

    Result restore_display_mode() override { return result_of(direct_draw_->RestoreDisplayMode()); }

    Result create_primary_surface(int back_buffers, platform::SurfaceRef& surface) override {
        if (!setup_.window || (back_buffers > 0 && !setup_.exclusive))
            return Result::NoExclusiveMode;
        setup_.back_buffers = back_buffers;
        setup_.desktop_coordinates = !setup_.exclusive;
        ScreenParts parts;
        direct_draw_->AddRef();
        parts.direct_draw = hold(direct_draw_.get());
        if (const HRESULT made = make_screen_parts(setup_, parts); made != DD_OK)
            return result_of(made);
        DDSURFACEDESC2 described{};
        described.dwSize = sizeof described;
        parts.primary->GetSurfaceDesc(&described);
        const int width = static_cast<int>(described.dwWidth);
        const int height = static_cast<int>(described.dwHeight);
        if (!platform::Surface::valid_format(width, height, 8))
            return Result::Unsupported;
        auto screen = std::make_shared<ScreenSurface>(std::move(parts), setup_, width, height);
        if (back_buffers > 0)
            screen->chain(std::make_shared<platform::Surface>(width, height, 8));
        surface = std::move(screen);
        return Result::Ok;
    }

    Result flip_to_gdi_surface() override { return result_of(direct_draw_->FlipToGDISurface()); }

  private:
    Com<IDirectDraw7> direct_draw_;
    ScreenSetup setup_;
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
