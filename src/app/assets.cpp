#include "app/assets.h"

Font game_font;
Surface background_surface;
Palette game_palette{};

bool load_settings_and_assets() {
    return true;
}

void save_settings_and_release() {}
