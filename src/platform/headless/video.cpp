#include "platform/video.h"
#include "platform/headless/screen.h"
#include "platform/headless/state.h"
#include "platform/png_writer.h"
#include "platform/window.h"

#include <cstdio>

namespace headless {
namespace {

using platform::Rect;
using platform::Result;

constexpr std::size_t frames_kept = 64;
constexpr int desktop_width = 1024;
constexpr int desktop_height = 768;

// A software surface that can be told to fail, and logs its restores.
class FaultySurface : public platform::Surface {
  public:
    using Surface::Surface;
    void fail_next(Result result, int count) {
        fault_ = result;
        remaining_ = count;
    }
    Result restore() override {
        state().restores.push_back(this);
        return Result::Ok;
    }

  protected:
    Result ready() override {
        if (remaining_ <= 0)
            return Result::Ok;
        --remaining_;
        return fault_;
    }

  private:
    Result fault_ = Result::Ok;
    int remaining_ = 0;
};

// The visible surface: every change is captured as a frame.
class CapturingPrimary : public FaultySurface {
  public:
    using FaultySurface::FaultySurface;
    void chain(platform::SurfaceRef back_buffer) { attach_back_buffer(std::move(back_buffer)); }

  protected:
    void show(const Rect&) override {
        State& s = state();
        const std::uint64_t number = s.frames_presented++;
        // Only 8-bit pictures are kept; other depths leave an empty frame.
        Frame captured;
        if (depth() == 8) {
            captured.width = width();
            captured.height = height();
            captured.pixels.reserve(std::size_t(width()) * height());
            for (int y = 0; y < height(); ++y)
                captured.pixels.insert(captured.pixels.end(), row(y), row(y) + width());
        }
        if (palette())
            for (std::size_t i = 0; i < 256; ++i) {
                const platform::PaletteEntry& entry = palette()->entries()[i];
                captured.rgb[3 * i] = entry.red;
                captured.rgb[3 * i + 1] = entry.green;
                captured.rgb[3 * i + 2] = entry.blue;
            }
        if (!s.frame_directory.empty() && !captured.pixels.empty()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%06llu.png",
                          static_cast<unsigned long long>(number));
            write_frame_png(captured, s.frame_directory + name);
        }
        s.frames.push_back(std::move(captured));
        if (s.frames.size() > frames_kept)
            s.frames.pop_front();
    }
};

class HeadlessWindow : public platform::Window {
  public:
    Rect rect() const override {
        const WindowInfo& info = state().window;
        return {0, 0, info.client_width, info.client_height};
    }
    void set_client_size(int width, int height) override {
        state().window.client_width = width;
        state().window.client_height = height;
    }
    void show(int) override { state().window.shown = true; }
    void set_icon(int width, int height, const std::uint8_t* rgba) override {
        WindowInfo& info = state().window;
        info.icon_width = width;
        info.icon_height = height;
        info.icon_rgba.assign(rgba, rgba + std::size_t(width) * std::size_t(height) * 4);
    }
};

// Answers a failure planted for `call`, once.
Result planted(VideoCall call) {
    auto& faults = state().video_faults;
    const auto found = faults.find(call);
    if (found == faults.end())
        return Result::Ok;
    const Result result = found->second;
    faults.erase(found);
    return result;
}

class HeadlessDevice : public platform::VideoDevice {
  public:
    Result set_cooperative_level(platform::Window& window,
                                 platform::CooperativeLevel level) override {
        if (const Result result = planted(VideoCall::SetCooperativeLevel); result != Result::Ok)
            return result;
        window_ = &window;
        exclusive_ = level == platform::CooperativeLevel::ExclusiveFullscreen;
        return Result::Ok;
    }
    Result set_display_mode(int width, int height, int depth) override {
        if (const Result result = planted(VideoCall::SetDisplayMode); result != Result::Ok)
            return result;
        if (!exclusive_)
            return Result::NoExclusiveMode;
        if (!platform::Surface::valid_format(width, height, depth))
            return Result::InvalidMode;
        mode_width_ = width;
        mode_height_ = height;
        depth_ = depth;
        return Result::Ok;
    }
    Result restore_display_mode() override {
        mode_width_ = mode_height_ = 0;
        depth_ = 8;
        return Result::Ok;
    }
    Result create_primary_surface(int back_buffers, platform::SurfaceRef& surface) override {
        if (const Result result = planted(VideoCall::CreatePrimarySurface); result != Result::Ok)
            return result;
        if (!window_ || (back_buffers > 0 && !exclusive_))
            return Result::NoExclusiveMode;
        int width = state().window.client_width;
        int height = state().window.client_height;
        if (exclusive_) {
            width = mode_width_ ? mode_width_ : desktop_width;
            height = mode_height_ ? mode_height_ : desktop_height;
        }
        if (!platform::Surface::valid_format(width, height, depth_))
            return Result::InvalidParams;
        auto primary = std::make_shared<CapturingPrimary>(width, height, depth_);
        if (back_buffers > 0)
            primary->chain(std::make_shared<FaultySurface>(width, height, depth_));
        surface = std::move(primary);
        return Result::Ok;
    }
    Result create_surface(int width, int height, platform::SurfaceRef& surface) override {
        if (const Result result = planted(VideoCall::CreateSurface); result != Result::Ok)
            return result;
        if (!platform::Surface::valid_format(width, height, depth_))
            return Result::InvalidParams;
        surface = std::make_shared<FaultySurface>(width, height, depth_);
        return Result::Ok;
    }
    Result create_palette(const platform::PaletteEntries& entries,
                          std::shared_ptr<platform::DevicePalette>& palette) override {
        if (const Result result = planted(VideoCall::CreatePalette); result != Result::Ok)
            return result;
        ++state().palettes_created;
        palette = std::make_shared<platform::DevicePalette>(entries);
        return Result::Ok;
    }
    Result create_clipper(std::shared_ptr<platform::Clipper>& clipper) override {
        clipper = std::make_shared<platform::Clipper>();
        return Result::Ok;
    }
    Result flip_to_gdi_surface() override {
        ++state().flips_to_gdi_surface;
        return Result::Ok;
    }
    int depth() const override { return depth_; }

  private:
    platform::Window* window_ = nullptr;
    bool exclusive_ = false;
    int mode_width_ = 0;
    int mode_height_ = 0;
    int depth_ = 8;
};

} // namespace

std::uint64_t frames_presented() {
    return state().frames_presented;
}

const Frame* frame(std::uint64_t n) {
    const State& s = state();
    const std::uint64_t first = s.frames_presented - s.frames.size();
    if (n < first || n >= s.frames_presented)
        return nullptr;
    return &s.frames[n - first];
}

const Frame* last_frame() {
    const State& s = state();
    return s.frames.empty() ? nullptr : &s.frames.back();
}

bool write_frame_png(const Frame& frame, const std::string& path) {
    return platform::write_png_indexed(path, frame.width, frame.height, frame.pixels.data(),
                                       frame.width, frame.rgb.data());
}

void write_frames_to(const std::string& directory) {
    state().frame_directory = directory;
}

bool fail_next(platform::Surface& surface, platform::Result result, int count) {
    auto* faulty = dynamic_cast<FaultySurface*>(&surface);
    if (!faulty)
        return false;
    faulty->fail_next(result, count);
    return true;
}

const std::vector<const platform::Surface*>& restores() {
    return state().restores;
}

void fail_video_call(VideoCall call, platform::Result result) {
    state().video_faults[call] = result;
}

int palettes_created() {
    return state().palettes_created;
}

int flips_to_gdi_surface() {
    return state().flips_to_gdi_surface;
}

WindowInfo window_info() {
    return state().window;
}

} // namespace headless

namespace platform {

Result create_video_device(std::unique_ptr<VideoDevice>& device) {
    if (const Result result = headless::planted(headless::VideoCall::CreateDevice);
        result != Result::Ok)
        return result;
    device = std::make_unique<headless::HeadlessDevice>();
    return Result::Ok;
}

bool create_window(const std::string& title, WindowStyle style, int width, int height,
                   std::unique_ptr<Window>& window) {
    if (headless::planted(headless::VideoCall::CreateWindow) != Result::Ok) {
        window.reset();
        return false;
    }
    headless::WindowInfo& info = headless::state().window;
    info = {true, title, style, width, height, false, 0, 0, {}};
    if (style == WindowStyle::Popup) {
        info.client_width = headless::desktop_width;
        info.client_height = headless::desktop_height;
    }
    window = std::make_unique<headless::HeadlessWindow>();
    return true;
}

void adjust_window_rect(Rect&, WindowStyle) {}

} // namespace platform
