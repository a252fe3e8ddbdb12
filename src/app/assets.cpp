#include "app/assets.h"

#include "app/settings.h"
#include "audio/sound_effects.h"
#include "gfx/tile_set.h"
#include "res/font_file.h"
#include "res/picture.h"

namespace {

void load_tile_set() {
    Surface sheet;
    if (load_picture("STEINES.PIX", sheet, nullptr) == 1)
        set_source_color_key(sheet, 0);
    cut_tile_set(sheet);
}

} // namespace

void load_assets() {
    load_sound_effects();
    game_font = make_font("FONT2.PIX", 0, 16, 14);
    load_picture("HINTERS.PIX", background_surface, &game_palette);
    load_tile_set();
}

void save_settings_and_release() {
    save_settings();
    release_tile_set();
    background_surface.reset();
    release_sound_effects();
    close_display();
}
