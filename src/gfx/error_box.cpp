#include "gfx/error_box.h"

#include "gfx/display.h"

void error_box(const char* text, const char* caption) {
    platform::show_cursor(true);
    if (display.direct_draw)
        display.direct_draw->flip_to_gdi_surface();
    platform::message_box(display.window.get(), text ? text : "", caption ? caption : "",
                          platform::BoxButtons::Ok, platform::BoxIcon::Warning);
    platform::show_cursor(false);
}
