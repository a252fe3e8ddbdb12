#include "app/settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/music.h"
#include "game/player.h"
#include "platform/settings_store.h"

namespace {

constexpr const char* settings_key = "SOFTWARE\\Quillmoor\\Blokit";
constexpr const char* settings_class = "Blokit";
constexpr const char* options_value = "Options";
constexpr const char* music_value = "Music";
constexpr std::uint32_t value_buffer_size = 80;

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

// Scans value `name` into up to `count` entries, which keep what they hold
// where the value or a number is missing.
void read_entries(const platform::SettingsKey* key, const char* name, std::int32_t* entries,
                  int count) {
    char text[value_buffer_size];
    std::uint32_t size = sizeof text;
    if (!platform::query_settings_value(key, name, text, size))
        return;
    const char* rest = text;
    for (int i = 0; i < count && scan_entry(rest, entries[i]); ++i) {
    }
}

void store_text(platform::SettingsKey* key, const char* name, const char* text) {
    platform::set_settings_value(key, name, text, std::uint32_t(std::strlen(text) + 1));
}

} // namespace

void load_settings() {
    // The start-up values first: they include a cleared key-set choice.
    reset_game_values();
    music_on = true;
    platform::SettingsKey* key = platform::open_settings_key(settings_key);
    if (!key)
        return;
    read_entries(key, options_value, key_set_choice.data(), 2);
    std::int32_t music = 1;
    read_entries(key, music_value, &music, 1);
    music_on = music != 0;
    platform::close_settings_key(key);
}

void save_settings() {
    platform::KeyDisposition disposition = platform::KeyDisposition::None;
    platform::SettingsKey* key =
        platform::create_settings_key(settings_key, settings_class, disposition);
    if (!key)
        return;
    if (disposition == platform::KeyDisposition::CreatedNewKey ||
        disposition == platform::KeyDisposition::OpenedExistingKey) {
        char text[32];
        std::snprintf(text, sizeof text, "%d %d", key_set_choice[0], key_set_choice[1]);
        store_text(key, options_value, text);
        store_text(key, music_value, music_on ? "1" : "0");
    }
    platform::close_settings_key(key);
}
