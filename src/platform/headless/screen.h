#pragma once

// Control of the headless backend's display, for tests: captured frames,
// fault injection, scripted message boxes and the cursor.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/video.h"
#include "platform/window.h"

namespace headless {

// The picture the player would see after a change of the visible surface:
// 8-bit pixels row by row (width bytes a row) and the colours they were
// shown with, 8 bits a component. Displays of other depths give empty
// (0 x 0) frames, which still count.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::array<std::uint8_t, 768> rgb{};
    std::uint8_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// How many frames have been shown since the last reset.
std::uint64_t frames_presented();
// Frame number n (counting from 0 since the reset), or null when it is no
// longer kept: only the most recent 64 are.
const Frame* frame(std::uint64_t n);
// The most recent frame, or null.
const Frame* last_frame();
bool write_frame_png(const Frame& frame, const std::string& path);
// From now on also writes every frame to `directory` as frame_NNNNNN.png
// (empty: stop).
void write_frames_to(const std::string& directory);

// The next `count` operations touching `surface` answer `result` (a lost or
// busy surface). False when the surface was not made by this backend.
bool fail_next(platform::Surface& surface, platform::Result result, int count);
// Every restore() since the reset, in order.
const std::vector<const platform::Surface*>& restores();

// Calls of the video device that can be made to fail once.
enum class VideoCall {
    CreateWindow,
    CreateDevice,
    SetCooperativeLevel,
    SetDisplayMode,
    CreatePrimarySurface,
    CreateSurface,
    CreatePalette,
};
void fail_video_call(VideoCall call, platform::Result result);
int palettes_created();
int flips_to_gdi_surface();

struct ShownBox {
    std::string text;
    std::string caption;
    platform::BoxButtons buttons = platform::BoxButtons::Ok;
    platform::BoxIcon icon = platform::BoxIcon::None;
    bool owned = false;   // shown over a window
    int cursor_count = 0; // the cursor count while it was shown
};
// The answer to the next message box; without one, boxes get the answer
// they get when no box can be shown.
void answer_next_box(platform::BoxAnswer answer);
const std::vector<ShownBox>& shown_boxes();

int cursor_count();
platform::Cursor current_cursor();

// The window, once created.
struct WindowInfo {
    bool exists = false;
    std::string title;
    platform::WindowStyle style = platform::WindowStyle::Overlapped;
    int client_width = 0;
    int client_height = 0;
    bool shown = false;
    // The icon last set: its size and pixels, four bytes each (RGBA).
    int icon_width = 0;
    int icon_height = 0;
    std::vector<std::uint8_t> icon_rgba;
};
WindowInfo window_info();

} // namespace headless
