#include "platform/video.h"
#include "platform/present.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/pacer.h"
#include "platform/sdl/renderer.h"
#include "platform/sdl/scaler.h"
#include "platform/sdl/sdl_window.h"
#include "platform/trace.h"

#include <cstdio>

namespace sdl {
namespace {

using platform::Rect;
using platform::Result;

// The visible picture of the window: an 8-bit surface that, whenever part
// of it changes, is converted through the palette into a streaming texture
// and shown with sharp pixels, scaled to the window with its aspect kept
// (black bars fill the rest).
class ScreenSurface : public platform::Surface, public Screen {
  public:
    ScreenSurface(GameWindow& window, SDL_Renderer* renderer, SDL_Texture* texture, int width,
                  int height)
        : Surface(width, height, 8), renderer_(renderer), texture_(texture),
          scaler_(renderer, texture, width, height), pacer_(window.handle()),
          shown_(width, height) {
        shown_.update(row(0), pitch(), {0, 0, width, height});
        convert({0, 0, width, height});
        backend().screen = this;
    }
    ~ScreenSurface() override {
        if (backend().screen == this)
            backend().screen = nullptr;
        SDL_DestroyTexture(texture_);
        SDL_DestroyRenderer(renderer_);
    }
    void chain(platform::SurfaceRef back_buffer) { attach_back_buffer(std::move(back_buffer)); }

    void repaint() override {
        render();
        SDL_RenderPresent(renderer_);
    }

    // The whole output, bars included.
    bool read(std::vector<std::uint32_t>& pixels, int& width, int& height) override {
        render();
        bool read = SDL_GetRendererOutputSize(renderer_, &width, &height) == 0;
        if (read) {
            pixels.assign(std::size_t(width) * height, 0);
            read = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                        width * 4) == 0;
        }
        SDL_RenderPresent(renderer_);
        return read;
    }

    double rate() const override { return pacer_.refresh_rate(); }

  protected:
    // Only what changed is converted; a present that changes nothing still
    // takes its turn at the refresh, so the game's pace stays the same.
    void show(const Rect& area) override {
        const Rect whole{0, 0, width(), height()};
        const bool colours_changed = colours_.take(palette().get());
        const Rect changed = shown_.update(row(0), pitch(), colours_changed ? whole : area);
        if (colours_changed || changed.height() > 0)
            convert(colours_changed ? whole : changed);
        pacer_.wait_for_next_refresh();
        if (!colours_changed && changed.height() == 0)
            return;
        repaint();
        platform::trace_present(colours_.lit());
    }

  private:
    void render() { scaler_.draw(); }

    void convert(const Rect& area) {
        const SDL_Rect band{area.left, area.top, area.width(), area.height()};
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture_, &band, &pixels, &pitch) != 0)
            return;
        platform::convert_to_argb(row(0), this->pitch(), area, colours_.colours(),
                                  static_cast<std::uint32_t*>(pixels), pitch);
        SDL_UnlockTexture(texture_);
    }

    SDL_Renderer* renderer_;
    SDL_Texture* texture_;
    Scaler scaler_;
    Pacer pacer_;
    platform::ShownPicture shown_;
    platform::ColourTracker colours_;
};

class Device : public platform::SoftwareVideoDevice {
  public:
    Result set_cooperative_level(platform::Window& window,
                                 platform::CooperativeLevel level) override {
        window_ = dynamic_cast<GameWindow*>(&window);
        if (!window_)
            return Result::InvalidParams;
        exclusive_ = level == platform::CooperativeLevel::ExclusiveFullscreen;
        // The desktop keeps its resolution; the picture is scaled to it.
        if (SDL_SetWindowFullscreen(window_->handle(),
                                    exclusive_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
            return Result::Generic;
        return Result::Ok;
    }
    Result set_display_mode(int width, int height, int depth) override {
        if (!exclusive_)
            return Result::NoExclusiveMode;
        if (depth != 8)
            return Result::UnsupportedMode;
        if (!platform::Surface::valid_format(width, height, depth))
            return Result::InvalidMode;
        mode_width_ = width;
        mode_height_ = height;
        return Result::Ok;
    }
    Result restore_display_mode() override {
        if (window_ && exclusive_)
            SDL_SetWindowFullscreen(window_->handle(), 0);
        mode_width_ = mode_height_ = 0;
        return Result::Ok;
    }
    Result create_primary_surface(int back_buffers, platform::SurfaceRef& surface) override {
        if (!window_ || (back_buffers > 0 && !exclusive_))
            return Result::NoExclusiveMode;
        const int width = exclusive_ && mode_width_ ? mode_width_ : window_->client_width();
        const int height = exclusive_ && mode_height_ ? mode_height_ : window_->client_height();
        if (!platform::Surface::valid_format(width, height, 8))
            return Result::InvalidParams;
        SDL_Renderer* renderer = create_renderer(window_->handle());
        if (!renderer)
            return failed("renderer");
        window_->keep_minimum_size();
        SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                 SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!texture) {
            SDL_DestroyRenderer(renderer);
            return failed("texture");
        }
        auto screen = std::make_shared<ScreenSurface>(*window_, renderer, texture, width, height);
        if (back_buffers > 0)
            screen->chain(std::make_shared<platform::Surface>(width, height, 8));
        surface = std::move(screen);
        return Result::Ok;
    }
    // Message boxes are windows of their own and show over the game.
    Result flip_to_gdi_surface() override { return Result::Ok; }

  private:
    static Result failed(const char* what) {
        std::fprintf(stderr, "Blokit: no %s: %s\n", what, SDL_GetError());
        return Result::Generic;
    }

    GameWindow* window_ = nullptr;
    bool exclusive_ = false;
    int mode_width_ = 0;
    int mode_height_ = 0;
};

} // namespace
} // namespace sdl

namespace platform {

Result create_video_device(std::unique_ptr<VideoDevice>& device) {
    if (!sdl::start_video())
        return Result::Generic;
    device = std::make_unique<sdl::Device>();
    return Result::Ok;
}

} // namespace platform
