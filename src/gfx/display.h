#pragma once

// The one display: the window, the video device, the visible front buffer
// and the back buffer everything is drawn into, and presenting it.

#include <cstdint>
#include <memory>

#include "platform/video.h"
#include "platform/window.h"

// A counted reference to a surface that can be lost and restored.
using Surface = platform::SurfaceRef;

// Bits of the mode flags of open_display.
constexpr int mode_fullscreen = 0x01;
constexpr int mode_windowed = 0x04;
// With mode_fullscreen: a display that refuses the full-screen mode is
// opened windowed instead, without a box (display.windowed then tells).
constexpr int mode_window_if_refused = 0x08;

// How present_frame makes the back buffer visible.
constexpr std::uint8_t present_flip = 0;
constexpr std::uint8_t present_blit = 2;

// The device and the window come first so that they outlive the surfaces
// made for them.
struct Display {
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<platform::VideoDevice> direct_draw;
    std::int32_t screen_width = 0;
    std::int32_t screen_height = 0;
    std::int32_t depth = 0;
    std::int32_t client_offset_x = 0;
    std::int32_t client_offset_y = 0;
    Surface front_buffer;
    Surface back_buffer;
    std::shared_ptr<platform::DevicePalette> palette;
    std::shared_ptr<platform::Clipper> clipper;
    std::int32_t output_width = 0;
    std::int32_t output_height = 0;
    std::uint8_t windowed = 0;
    std::uint8_t present_mode = present_flip;
    std::int32_t green_bits = 0;
};

extern Display display;

// Opens the window and the display; on failure the cause has been shown in a
// message box and the result is false.
bool open_display(int mode_flags, const char* title, int depth, int screen_width, int screen_height,
                  int output_width, int output_height, int show_command = platform::show_normal);
void close_display();

// Makes the whole back buffer visible.
void present_frame();
// Shows the rectangle `source` of the back buffer at (x, y) of the picture.
void present_rect(int x, int y, const platform::Rect& source);
// Fills the whole back buffer with one palette index.
void clear_back_buffer(std::uint32_t colour);
