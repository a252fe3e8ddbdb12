#pragma once

// Video services: a device that creates surfaces, software surfaces with
// pitch, lock, plain and colour-keyed copies, colour fill, lost and restore,
// the visible (primary) surface of a window, a 256-entry palette and a
// clipper. Every operation answers with a result code, as the game tests
// them: a copy that finds its surface lost restores it and tries again.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class Window;

enum class Result {
    Ok,
    SurfaceLost,     // the surface's memory is gone until restore()
    WasStillDrawing, // the device is busy; try again
    InvalidRect,     // a rectangle does not lie inside its surface
    InvalidParams,
    InvalidObject,
    OutOfMemory,
    Generic,
    Unsupported,
    // Failures of switching to exclusive use of the screen.
    ExclusiveModeAlreadySet,
    HwndAlreadySet,
    HwndSubclassed,
    // Failures of setting a display mode.
    InvalidMode,
    LockedSurfaces,
    NoExclusiveMode,
    SurfaceBusy,
    UnsupportedMode,
    // Operations that need a state the object is not in.
    NotLocked,
    NotFlippable,
};

// Left, top inclusive; right, bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// One device colour, 8 bits a component.
struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

using PaletteEntries = std::array<PaletteEntry, 256>;

// The 256 colours that 8-bit surfaces are shown with once the palette is
// attached to the primary surface.
class DevicePalette {
  public:
    explicit DevicePalette(const PaletteEntries& entries) : entries_(entries) {}
    Result set_entries(int first, int count, const PaletteEntry* entries);
    const PaletteEntries& entries() const { return entries_; }
    // Counts changes, so a screen can tell when it must convert anew.
    std::uint32_t version() const { return version_; }

  private:
    PaletteEntries entries_;
    std::uint32_t version_ = 0;
};

// Binds a primary surface to a window: copies into the surface are then
// clipped to it instead of being rejected.
class Clipper {
  public:
    Result set_window(Window* window);
    Window* window() const { return window_; }

  private:
    Window* window_ = nullptr;
};

// What lock() hands out: the top-left pixel and the bytes from one row to
// the next (at least width times bytes per pixel).
struct LockedPixels {
    std::uint8_t* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
};

enum class Copy {
    Opaque,
    SourceColorKey, // source pixels equal to the source's colour key are left out
};

// A picture in memory with 8, 16, 24 or 32 bits a pixel. A copy whose
// rectangles do not lie wholly inside their surfaces fails with InvalidRect
// and writes nothing (unless a clipper is attached to the destination).
class Surface {
  public:
    // Sizes up to 16384 a side; depths 8, 16, 24 and 32.
    static bool valid_format(int width, int height, int depth);
    Surface(int width, int height, int depth);
    virtual ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    int depth() const { return depth_; }
    int pitch() const { return pitch_; }
    // Which bits of a pixel hold green: 16-bit surfaces are 5-6-5.
    std::uint32_t green_mask() const;

    Result lock(LockedPixels& locked);
    Result unlock();

    // Copies `source_rect` of `source` with its top-left at (x, y).
    Result blt_fast(int x, int y, Surface& source, const Rect& source_rect, Copy copy);
    // Copies `source_rect` of `source` into `destination`, stretched to its
    // size (nearest pixel) when the two differ.
    Result blt(const Rect& destination, Surface& source, const Rect& source_rect, Copy copy);
    // Writes the low bits of `colour` into every pixel of `destination`.
    Result color_fill(const Rect& destination, std::uint32_t colour);

    // The source colour key: pixels of this value are transparent in keyed
    // copies from this surface.
    Result set_color_key(std::uint32_t key);
    // Gives a lost surface its memory back; the pixels are not redrawn.
    virtual Result restore();

    // Primary surfaces only.
    Result flip();
    Result get_attached_surface(std::shared_ptr<Surface>& back_buffer);
    Result set_palette(std::shared_ptr<DevicePalette> palette);
    Result set_clipper(std::shared_ptr<Clipper> clipper);
    const std::shared_ptr<DevicePalette>& palette() const { return palette_; }

  protected:
    // Asked before every operation that touches this surface's pixels; a
    // backend answers with a failure to make the operation fail (a lost or
    // busy surface). The base answers Ok.
    virtual Result ready();
    // Primary surfaces: `area` of the picture has changed and is to be shown.
    virtual void show(const Rect& area);
    // Primary surfaces with a back buffer form a flipping chain.
    void attach_back_buffer(std::shared_ptr<Surface> back_buffer);
    const std::uint8_t* row(int y) const { return memory_.data() + std::size_t(y) * pitch_; }

  private:
    void copy_in(const Rect& destination, const Rect& visible, Surface& source,
                 const Rect& source_rect, Copy copy);
    bool contains(const Rect& rect) const;
    Result both_ready(Surface& source);

    int width_;
    int height_;
    int depth_;
    int pitch_;
    std::vector<std::uint8_t> memory_;
    bool locked_ = false;
    bool has_color_key_ = false;
    std::uint32_t color_key_ = 0;
    std::shared_ptr<Surface> back_buffer_;
    std::shared_ptr<DevicePalette> palette_;
    std::shared_ptr<Clipper> clipper_;
};

using SurfaceRef = std::shared_ptr<Surface>;

enum class CooperativeLevel {
    Normal,             // windowed: share the desktop
    ExclusiveFullscreen // the window owns the whole screen
};

// The display device: creates surfaces in its current pixel format, the
// primary surface of the window it is bound to, palettes and clippers.
class VideoDevice {
  public:
    virtual ~VideoDevice() = default;
    virtual Result set_cooperative_level(Window& window, CooperativeLevel level) = 0;
    virtual Result set_display_mode(int width, int height, int depth) = 0;
    virtual Result restore_display_mode() = 0;
    // The visible picture of the bound window; with `back_buffers` 1 it heads
    // a flipping chain whose back buffer get_attached_surface() delivers.
    virtual Result create_primary_surface(int back_buffers, SurfaceRef& surface) = 0;
    // An off-screen surface in the device's pixel format.
    virtual Result create_surface(int width, int height, SurfaceRef& surface) = 0;
    virtual Result create_palette(const PaletteEntries& entries,
                                  std::shared_ptr<DevicePalette>& palette) = 0;
    virtual Result create_clipper(std::shared_ptr<Clipper>& clipper) = 0;
    // Brings the desktop to the front so a message box can be seen.
    virtual Result flip_to_gdi_surface() = 0;
    // Bits per pixel of the surfaces it creates.
    virtual int depth() const = 0;
};

// A device whose off-screen surfaces, palettes and clippers are the
// platform's own software objects, 8 bits a pixel.
class SoftwareVideoDevice : public VideoDevice {
  public:
    Result create_surface(int width, int height, SurfaceRef& surface) override;
    Result create_palette(const PaletteEntries& entries,
                          std::shared_ptr<DevicePalette>& palette) override;
    Result create_clipper(std::shared_ptr<Clipper>& clipper) override;
    int depth() const override { return 8; }
};

// Creates the device of the default display.
Result create_video_device(std::unique_ptr<VideoDevice>& device);

} // namespace platform
