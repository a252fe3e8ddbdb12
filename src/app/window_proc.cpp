#include "app/window_proc.h"

#include "app/assets.h"
#include "audio/music.h"
#include "game/session.h"
#include "gfx/display.h"
#include "platform/window.h"

bool surfaces_need_restore = false;
bool window_destroyed = false;

namespace {

void on_destroy() {
    window_destroyed = true;
    quit_requested = true;
    music_stop();
    if (shutting_down)
        save_settings_and_release();
}

void on_activate_app(std::intptr_t active) {
    app_active = static_cast<int>(active);
    if (!active) {
        surfaces_need_restore = true;
        return;
    }
    if (!surfaces_need_restore)
        return;
    if (display.front_buffer)
        display.front_buffer->restore();
    if (display.back_buffer)
        display.back_buffer->restore();
}

void realize_palette() {
    if (display.palette && display.front_buffer)
        display.front_buffer->set_palette(display.palette);
}

} // namespace

void main_window_proc(const platform::Message& message) {
    using platform::MessageKind;
    switch (message.kind) {
    case MessageKind::Destroy:
        on_destroy();
        break;
    case MessageKind::Paint:
        if (display.windowed == 1)
            present_frame();
        break;
    case MessageKind::ActivateApp:
        on_activate_app(message.wparam);
        break;
    case MessageKind::SetCursor:
        platform::set_cursor(platform::Cursor::None);
        break;
    case MessageKind::PaletteChanged:
        // Our own palette change needs no answer.
        if (!message.wparam)
            realize_palette();
        break;
    case MessageKind::QueryNewPalette:
        realize_palette();
        break;
    case MessageKind::Close:
    case MessageKind::Quit:
        break;
    }
    platform::default_window_procedure(message);
}
