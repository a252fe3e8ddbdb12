#include "gfx/display.h"

#include "gfx/error_box.h"
#include "gfx/rect.h"
#include "gfx/retry.h"

using platform::Result;

Display display;

namespace {

const char* const box_caption = "Direct Draw";

bool fail_open(const char* message) {
    platform::show_cursor(true);
    error_box(message, box_caption);
    return false;
}

// The causes of a refused exclusive mode that stop the opening; null for
// every other result, which the opening goes on after.
const char* cooperative_level_message(Result result) {
    switch (result) {
    case Result::ExclusiveModeAlreadySet:
        return "SetCooperativeLevel failed!\nAlready set EXCLUSIVEMODE!";
    case Result::HwndAlreadySet:
        return "SetCooperativeLevel failed!\nAlready set HWND!";
    case Result::HwndSubclassed:
        return "SetCooperativeLevel failed!\nHWND subclassed!";
    case Result::InvalidObject:
        return "SetCooperativeLevel failed!\nInvalid object!";
    case Result::InvalidParams:
        return "SetCooperativeLevel failed!\nInvalid params!";
    case Result::OutOfMemory:
        return "SetCooperativeLevel failed!\nOut of memory!";
    default:
        return nullptr;
    }
}

const char* display_mode_message(Result result) {
    switch (result) {
    case Result::Generic:
        return "SetDisplayMode failed!\n1";
    case Result::InvalidMode:
        return "SetDisplayMode failed!\n2";
    case Result::InvalidObject:
        return "SetDisplayMode failed!\n3";
    case Result::InvalidParams:
        return "SetDisplayMode failed!\n4";
    case Result::LockedSurfaces:
        return "SetDisplayMode failed!\n5";
    case Result::NoExclusiveMode:
        return "SetDisplayMode failed!\n6";
    case Result::SurfaceBusy:
        return "SetDisplayMode failed!\n7";
    case Result::Unsupported:
        return "SetDisplayMode failed!\n8";
    case Result::UnsupportedMode:
        return "SetDisplayMode failed!\n9";
    case Result::WasStillDrawing:
        return "SetDisplayMode failed!\n10";
    default:
        return "SetDisplayMode failed!";
    }
}

// What open_fullscreen came to.
enum class FullscreenOpen { Opened, Failed, ModeRefused };

FullscreenOpen failed_fullscreen(const char* message) {
    fail_open(message);
    return FullscreenOpen::Failed;
}

FullscreenOpen open_fullscreen(const char* title, int depth, bool window_if_refused) {
    // Without a window there is nothing to show a display in.
    if (!platform::create_window(title, platform::WindowStyle::Popup, 0, 0, display.window))
        return failed_fullscreen("Cannot be initialized!");
    platform::show_cursor(false);
    if (platform::create_video_device(display.direct_draw) != Result::Ok)
        return failed_fullscreen("Cannot be initialized!");
    const Result level = display.direct_draw->set_cooperative_level(
        *display.window, platform::CooperativeLevel::ExclusiveFullscreen);
    if (const char* message = cooperative_level_message(level))
        return failed_fullscreen(message);
    display.depth = depth;
    const Result mode =
        display.direct_draw->set_display_mode(display.output_width, display.output_height, depth);
    if (mode != Result::Ok && window_if_refused)
        return FullscreenOpen::ModeRefused;
    if (mode != Result::Ok)
        return failed_fullscreen(display_mode_message(mode));
    if (display.direct_draw->create_primary_surface(1, display.front_buffer) != Result::Ok)
        return failed_fullscreen("Cannot create Buffers!");
    display.front_buffer->get_attached_surface(display.back_buffer);
    clear_back_buffer(0);
    present_frame();
    return FullscreenOpen::Opened;
}

// Undoes a full-screen start whose display mode was refused: the device and
// the covering window go, the cursor shows again.
void give_up_fullscreen() {
    display.direct_draw->set_cooperative_level(*display.window, platform::CooperativeLevel::Normal);
    display.direct_draw.reset();
    display.window.reset();
    platform::show_cursor(true);
}

bool open_windowed(const char* title, int depth) {
    platform::Rect frame{100, 100, 100 + display.screen_width, 100 + display.screen_height};
    platform::adjust_window_rect(frame, platform::WindowStyle::Overlapped);
    display.client_offset_x = 100 - frame.left;
    display.client_offset_y = 100 - frame.top;
    if (!platform::create_window(title, platform::WindowStyle::Overlapped, frame.width(),
                                 frame.height(), display.window))
        return fail_open("Cannot be initialized!");
    platform::show_cursor(true);
    if (platform::create_video_device(display.direct_draw) != Result::Ok)
        return fail_open("Cannot be initialized!");
    display.direct_draw->set_cooperative_level(*display.window, platform::CooperativeLevel::Normal);
    display.depth = depth;
    display.window->set_client_size(display.output_width, display.output_height);
    if (display.direct_draw->create_primary_surface(0, display.front_buffer) != Result::Ok)
        return fail_open("Cannot create frontbuffer!");
    if (display.direct_draw->create_surface(display.output_width, display.output_height,
                                            display.back_buffer) != Result::Ok)
        return fail_open("Cannot create backbuffer!");
    display.direct_draw->create_clipper(display.clipper);
    if (display.clipper) {
        display.clipper->set_window(display.window.get());
        display.front_buffer->set_clipper(display.clipper);
    }
    return true;
}

// Where the top-left pixel of the picture lies on the front buffer.
platform::Rect client_origin() {
    const platform::Rect window = display.window->rect();
    const int left = window.left + display.client_offset_x;
    const int top = window.top + display.client_offset_y;
    return {left, top, left, top};
}

} // namespace

bool open_display(int mode_flags, const char* title, int depth, int screen_width, int screen_height,
                  int output_width, int output_height, int show_command) {
    display.screen_width = screen_width;
    display.screen_height = screen_height;
    display.output_width = output_width;
    display.output_height = output_height;
    bool opened = false;
    bool windowed = (mode_flags & mode_fullscreen) == 0;
    if (!windowed) {
        display.windowed = 0;
        display.present_mode = output_width == screen_width && output_height == screen_height
                                   ? present_flip
                                   : present_blit;
        const FullscreenOpen fullscreen =
            open_fullscreen(title, depth, (mode_flags & mode_window_if_refused) != 0);
        opened = fullscreen == FullscreenOpen::Opened;
        windowed = fullscreen == FullscreenOpen::ModeRefused;
        if (windowed)
            give_up_fullscreen();
    }
    if (windowed) {
        display.windowed = 1;
        display.present_mode = present_blit;
        opened = open_windowed(title, depth);
    }
    if (!opened)
        return false;
    display.window->show(show_command);
    if (depth == 16 && display.back_buffer)
        display.green_bits = display.back_buffer->green_mask() == 0x3E0 ? 5 : 6;
    return true;
}

void close_display() {
    if (!display.direct_draw)
        return;
    display.direct_draw->restore_display_mode();
    display.front_buffer.reset();
    display.back_buffer.reset();
    display.palette.reset();
    display.clipper.reset();
    if (display.window)
        display.direct_draw->set_cooperative_level(*display.window,
                                                   platform::CooperativeLevel::Normal);
    display.direct_draw.reset();
}

void present_frame() {
    platform::Surface* front = display.front_buffer.get();
    platform::Surface* back = display.back_buffer.get();
    if (!front || !back)
        return;
    if (display.present_mode == present_flip) {
        issue_with_retries(Retry::UntilOk, [&] { return front->flip(); }, {front});
        return;
    }
    const platform::Rect origin = client_origin();
    const platform::Rect destination{origin.left, origin.top, origin.left + display.output_width,
                                     origin.top + display.output_height};
    const platform::Rect source{0, 0, display.screen_width, display.screen_height};
    issue_with_retries(
        Retry::UntilOk,
        [&] { return front->blt(destination, *back, source, platform::Copy::Opaque); },
        {front, back});
}

void present_rect(int x, int y, const platform::Rect& source) {
    platform::Surface* front = display.front_buffer.get();
    platform::Surface* back = display.back_buffer.get();
    if (!front || !back)
        return;
    const platform::Rect origin = client_origin();
    const long long left = static_cast<long long>(origin.left) + x;
    const long long top = static_cast<long long>(origin.top) + y;
    const long long right = left + source.right - source.left;
    const long long bottom = top + source.bottom - source.top;
    if (left < INT32_MIN || top < INT32_MIN || right > INT32_MAX || bottom > INT32_MAX)
        return;
    const platform::Rect destination{static_cast<int>(left), static_cast<int>(top),
                                     static_cast<int>(right), static_cast<int>(bottom)};
    issue_with_retries(
        Retry::UntilOk,
        [&] { return front->blt(destination, *back, source, platform::Copy::Opaque); },
        {front, back});
}

void clear_back_buffer(std::uint32_t colour) {
    draw_rect(display.back_buffer, 0, 0, display.screen_width, display.screen_height, colour, 1);
}
