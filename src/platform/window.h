#pragma once

// The game's one window, the mouse cursor and message boxes.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/video.h"

namespace platform {

enum class WindowStyle {
    Popup,     // borderless, covers the screen (full-screen play)
    Overlapped // caption, frame and system buttons (windowed play)
};

// How the window is first shown (the show command the program was given).
constexpr int show_normal = 1;

class Window {
  public:
    virtual ~Window() = default;
    // The window's outer rectangle in the coordinates of the screen the
    // primary surface shows.
    virtual Rect rect() const = 0;
    // Resizes the window so that its client area is `width` x `height`.
    virtual void set_client_size(int width, int height) = 0;
    virtual void show(int show_command) = 0;
    // Shows `width` x `height` pixels of four bytes each (red, green, blue,
    // alpha), row by row, as the window's icon.
    virtual void set_icon(int width, int height, const std::uint8_t* rgba) = 0;
};

// Creates the window; its messages go to the window procedure (messages.h).
// `width` x `height` is the outer size; Popup windows ignore it and cover
// the screen.
bool create_window(const std::string& title, WindowStyle style, int width, int height,
                   std::unique_ptr<Window>& window);

// Grows a client rectangle to the outer rectangle of a window of `style`.
void adjust_window_rect(Rect& rect, WindowStyle style);

// Show (+1) or hide (-1) the mouse cursor; it is visible while the count is
// zero or more. Returns the new count.
int show_cursor(bool show);

enum class Cursor { None, Arrow };
void set_cursor(Cursor cursor);

enum class BoxButtons { Ok, OkCancel, YesNo };
enum class BoxIcon { None, Information, Warning };
enum class BoxAnswer { Ok, Cancel, Yes, No };

// A modal message box over `owner` (or on its own when null). When no box
// can be shown at all the answer is Ok for Ok and OkCancel boxes and No for
// YesNo boxes.
BoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                      BoxButtons buttons, BoxIcon icon);

} // namespace platform
