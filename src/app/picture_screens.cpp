#include "app/picture_screens.h"

#include "app/screen_common.h"
#include "app/window_proc.h"
#include "game/session.h"
#include "gfx/display.h"
#include "gfx/palette.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "res/picture.h"

namespace {

using platform::vk::Escape;
using platform::vk::Return;
using platform::vk::Space;

// The advert lies between black bands of 40 rows.
constexpr int advert_width = 640;
constexpr int advert_height = 400;
constexpr int advert_top = 40;

// Blacks the screen out, then shows `source` of the picture `name`, in its
// own colours, with its top-left at (x, y).
void show_picture(const char* name, const platform::Rect& source, int x, int y) {
    Palette palette;
    clear_palette(palette);
    set_palette(palette);
    clear_back_buffer(0);
    present_frame();
    Surface picture;
    load_picture(name, picture, &palette);
    set_palette(palette);
    if (picture && display.back_buffer)
        display.back_buffer->blt_fast(x, y, *picture, source, platform::Copy::Opaque);
    picture.reset();
    present_frame();
}

void wait_for_key(const char* screen) {
    const platform::InputWait wait{screen};
    wait_keys_released({Space, Escape, Return});
    while (!screen_exit_key_down() && !quit_requested) {
        if (!pump_message(input_wait_due()) && !app_active)
            platform::wait_message();
    }
}

} // namespace

void show_logo_screen() {
    show_picture("QMLOGO.PIX", {0, 0, display.screen_width, display.screen_height}, 0, 0);
    wait_for_key("the logo screen");
}

void show_advert_screen() {
    show_picture("WERBEPIX.PIX", {0, 0, advert_width, advert_height}, 0, advert_top);
    // Once the window is gone no key can reach the program: waiting would
    // never end.
    if (!window_destroyed) {
        quit_requested = false;
        wait_for_key("the advert screen");
    }
    quit_requested = true;
}
