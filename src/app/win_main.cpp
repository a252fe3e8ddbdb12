#include "app/win_main.h"

#include "app/assets.h"
#include "app/credits.h"
#include "app/high_scores.h"
#include "app/match_result.h"
#include "app/picture_screens.h"
#include "app/playfield_output.h"
#include "app/settings.h"
#include "app/title_screen.h"
#include "app/window_icon.h"
#include "app/window_proc.h"
#include "audio/music.h"
#include "game/game_loop.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/display.h"
#include "platform/language.h"
#include "platform/messages.h"

namespace {

constexpr int screen_width = 640;
constexpr int screen_height = 480;

void choose_language() {
    const std::uint16_t primary =
        platform::user_default_lang_id() & platform::primary_language_mask;
    use_english = primary != platform::lang_german;
}

// Without music the player may still play, or end the program at once.
// Switched off in the settings, the music is loaded but not started.
void start_music() {
    if (music_start(music_file_name, music_on))
        return;
    platform::set_cursor(platform::Cursor::Arrow);
    platform::show_cursor(true);
    if (platform::message_box(nullptr, "Unable to play music!", "MIDI",
                              platform::BoxButtons::OkCancel,
                              platform::BoxIcon::None) == platform::BoxAnswer::Cancel) {
        shutting_down = true;
        platform::post_quit_message(0);
    }
    platform::set_cursor(platform::Cursor::None);
    platform::show_cursor(false);
}

// The exit code of the quit message, once it arrives; other messages are
// dropped unseen.
int discard_messages_until_quit() {
    platform::Message message;
    while (platform::get_message(message)) {
    }
    return static_cast<int>(message.wparam);
}

void play_until_quit() {
    while (!quit_requested) {
        run_title_screen();
        if (quit_requested)
            break;
        run_game();
        if (quit_requested)
            break;
        if (player_count == 1)
            run_high_score_screen();
        else
            show_match_result();
    }
}

// Handles what is still queued, up to the quit message, without sleeping.
int drain_messages() {
    platform::Message message;
    for (;;) {
        if (!platform::peek_message(message))
            continue;
        if (!platform::get_message(message))
            return static_cast<int>(message.wparam);
        platform::dispatch_message(message);
    }
}

int shut_down() {
    show_advert_screen();
    platform::post_quit_message(0);
    shutting_down = true;
    const int exit_code = drain_messages();
    music_stop();
    save_settings_and_release();
    return exit_code;
}

} // namespace

int WinMain(int show_command) {
    surfaces_need_restore = false;
    choose_language();
    const bool fullscreen = ask_fullscreen();
    shutting_down = false;
    // Start-up, in this order: the settings, which say whether the music
    // plays; the music, whose failure box comes before any window; the
    // display; then the assets, which are made for the display.
    load_settings();
    start_music();
    platform::set_window_procedure(main_window_proc);
    const int mode = fullscreen ? mode_fullscreen | mode_window_if_refused : mode_windowed;
    if (!open_display(mode, "QM - Blokit", 8, screen_width, screen_height, screen_width,
                      screen_height, show_command)) {
        shutting_down = true;
        platform::post_quit_message(0);
        const int exit_code = discard_messages_until_quit();
        music_stop();
        return exit_code;
    }
    if (fullscreen && display.windowed)
        tell_fullscreen_refused(display.window.get());
    show_window_icon();
    load_assets();
    attach_playfield_output();
    show_logo_screen();
    play_until_quit();
    return shut_down();
}
