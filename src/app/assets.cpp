#include "app/assets.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/sound_effects.h"
#include "game/player.h"
#include "gfx/tile_set.h"
#include "platform/settings_store.h"
#include "res/font_file.h"
#include "res/picture.h"

namespace {

constexpr const char* settings_key = "SOFTWARE\\Quillmoor\\Blokit";
constexpr const char* settings_class = "Blokit";
constexpr const char* options_value = "Options";
constexpr std::uint32_t options_buffer_size = 80;

// Reads the next decimal number of `text` into `entry` and moves `text`
// past it; false (entry unchanged) when there is none. A number too large
// for an int is cut to the nearest one that fits.
bool scan_entry(const char*& text, std::int32_t& entry) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text)
        return false;
    entry = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : std::int32_t(value);
    text = end;
    return true;
}

void read_key_set_choice() {
    key_set_choice = {0, 0};
    platform::SettingsKey* key = platform::open_settings_key(settings_key);
    if (!key)
        return;
    char text[options_buffer_size];
    std::uint32_t size = sizeof text;
    if (platform::query_settings_value(key, options_value, text, size)) {
        const char* rest = text;
        if (scan_entry(rest, key_set_choice[0]))
            scan_entry(rest, key_set_choice[1]);
    }
    platform::close_settings_key(key);
}

void store_key_set_choice() {
    platform::KeyDisposition disposition = platform::KeyDisposition::None;
    platform::SettingsKey* key =
        platform::create_settings_key(settings_key, settings_class, disposition);
    if (!key)
        return;
    if (disposition == platform::KeyDisposition::CreatedNewKey ||
        disposition == platform::KeyDisposition::OpenedExistingKey) {
        char text[32];
        std::snprintf(text, sizeof text, "%d %d", key_set_choice[0], key_set_choice[1]);
        platform::set_settings_value(key, options_value, text,
                                     std::uint32_t(std::strlen(text) + 1));
    }
    platform::close_settings_key(key);
}

void load_tile_set() {
    Surface sheet;
    if (load_picture("STEINES.PIX", sheet, nullptr) == 1)
        set_source_color_key(sheet, 0);
    cut_tile_set(sheet);
}

} // namespace

bool load_settings_and_assets() {
    // The start-up values first: they include a cleared key-set choice.
    reset_game_values();
    read_key_set_choice();
    load_sound_effects();
    game_font = make_font("FONT2.PIX", 0, 16, 14);
    load_picture("HINTERS.PIX", background_surface, &game_palette);
    load_tile_set();
    return true;
}

void save_settings_and_release() {
    store_key_set_choice();
    release_tile_set();
    background_surface.reset();
    release_sound_effects();
    close_display();
}
