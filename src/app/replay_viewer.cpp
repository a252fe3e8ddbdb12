#include "app/replay_viewer.h"

#include "app/replay_files.h"
#include "game/driver.h"
#include "game/game_loop.h"
#include "game/game_output.h"
#include "game/live_input.h"
#include "game/music_key.h"
#include "game/player.h"
#include "game/session.h"
#include "gfx/error_box.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace {

using platform::vk::Escape;
using platform::vk::Tab;
constexpr int pause_key = 'P';

const char* language(const char* english, const char* german) {
    return use_english ? english : german;
}

const char* caption() {
    return language("Blokit replay", "Blokit-Wiederholung");
}

const char* refusal(ReplayCheck check) {
    switch (check) {
    case ReplayCheck::NotAReplay:
        return language("This file is not a Blokit replay.",
                        "Diese Datei ist keine Blokit-Wiederholung.");
    case ReplayCheck::OtherVersion:
        return language("This replay was made by another version of Blokit.",
                        "Diese Wiederholung stammt von einer anderen Version von Blokit.");
    case ReplayCheck::OtherGameData:
        return language("This replay was made with other game data.",
                        "Diese Wiederholung wurde mit anderen Spieldaten aufgenommen.");
    default:
        return language("This replay file is damaged.",
                        "Diese Wiederholungsdatei ist beschaedigt.");
    }
}

// Half the tick length while Tab is held.
std::uint32_t tick_interval() {
    return key_down(Tab) ? tick_length_ms / 2 : tick_length_ms;
}

// Esc and P of the person watching, between ticks. True when Esc stopped it.
bool viewer_stops() {
    if (key_down(Escape)) {
        wait_keys_released({Escape});
        return true;
    }
    if (key_down(pause_key))
        pause_game();
    return false;
}

// Plays the ticks of `player` until the game ends, the replay runs out or
// the viewer stops it; true when it was stopped.
bool play_ticks(ReplayPlayer& player) {
    while (!quit_requested && game_running()) {
        check_music_key();
        if (pump_message(last_tick_ms + tick_interval() + 1))
            continue;
        if (!app_active) {
            platform::wait_message();
            continue;
        }
        if (viewer_stops())
            return true;
        if (platform::time_ms() - last_tick_ms <= tick_interval())
            continue;
        last_tick_ms = platform::time_ms();
        InputFrame input;
        if (!player.next(input))
            return false;
        run_tick(input);
    }
    return false;
}

} // namespace

std::optional<Replay> load_replay(const std::filesystem::path& path) {
    const auto bytes = read_replay_file(path);
    Replay replay;
    const ReplayCheck check = bytes ? decode_replay(*bytes, replay) : ReplayCheck::Playable;
    if (bytes && check == ReplayCheck::Playable)
        return replay;
    const char* reason = bytes ? refusal(check)
                               : language("The replay file cannot be read.",
                                          "Die Wiederholungsdatei kann nicht gelesen werden.");
    platform::message_box(nullptr, reason, caption(), platform::BoxButtons::Ok,
                          platform::BoxIcon::Warning);
    return std::nullopt;
}

void watch_replay(const Replay& replay) {
    const GameState program_values = game_state;
    start_replay_game(replay);
    game_output().play_effect(SoundEffect::Start);
    last_tick_ms = platform::time_ms();
    ReplayPlayer player(replay);
    const bool stopped = play_ticks(player);
    const bool as_recorded = ended_as_recorded(replay, player);
    game_state = program_values;
    if (!stopped && !quit_requested && !as_recorded)
        error_box(language("This replay went out of step with the game it recorded.",
                           "Diese Wiederholung weicht vom aufgenommenen Spiel ab."),
                  caption());
}
