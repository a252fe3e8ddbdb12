#include "app/network_game.h"

#include <optional>

#include "app/match_result.h"
#include "app/replay_files.h"
#include "game/controls.h"
#include "game/driver.h"
#include "game/game_output.h"
#include "game/music_key.h"
#include "game/net_peer.h"
#include "game/playfield.h"
#include "game/replay.h"
#include "game/session.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

namespace {

using platform::vk::Escape;
using platform::vk::F1;
using platform::vk::Space;
constexpr int pause_key = 'P';
constexpr std::uint32_t tick_ms = tick_length_ms + 1;
// Each game's seed follows from the one the host chose.
constexpr std::uint32_t seed_step = 0x9E3779B9;
// A leaving side says so this many times, as a lone packet may be lost.
constexpr int leave_sends = 3;

// How a stretch of the session ended.
enum class Ending { Done, Left, Quit };

// A key that went down since the last look.
class KeyPress {
  public:
    explicit KeyPress(int key) : key_(key), was_down_(key_down(key)) {}
    bool pressed() {
        const bool down = key_down(key_);
        const bool pressed = down && !was_down_;
        was_down_ = down;
        return pressed;
    }

  private:
    int key_;
    bool was_down_;
};

// The keys of this machine's player: the single player's set, the first
// or the second as the record's stored choice says.
SideInput read_side_input(int record, KeyPress& escape, KeyPress& key_set_change) {
    const KeySet set = key_set_choice[record] == 0 ? KeySet::ArrowsCtrl : KeySet::ArrowsUp;
    const std::array<int, key_actions>& keys = key_set_keys(set);
    SideInput input = 0;
    for (int action = 0; action < key_actions; ++action)
        if (key_down(keys[action]))
            input |= static_cast<SideInput>(1 << action);
    if (escape.pressed())
        input |= side_escape_bit;
    if (key_set_change.pressed())
        input |= side_key_set_bit;
    return input;
}

class NetworkSession {
  public:
    explicit NetworkSession(NetworkLink& link)
        : link_(link), peer_(link.local_side, link.session, platform::time_ms()) {}

    Ending play_game();
    Ending agree_on_next_game();

  private:
    // The loop of a screen of the session: window messages, the music key
    // and the other side's messages, then `step` on each pass until it
    // gives how the screen ended.
    template <class Step> Ending run(Step step);
    bool take_messages();
    void send_packets();
    bool tick_due();
    void play_due_tick();
    void follow_pause();
    Replay replay_of_game() const;

    NetworkLink& link_;
    NetPeer peer_;
    std::uint32_t seed_ = 0;
    ReplayStart start_;
    std::uint32_t last_tick_ms_ = 0;
    bool showing_pause_ = false;
    KeyPress escape_{Escape};
    KeyPress key_set_change_{F1};
    KeyPress pause_{pause_key};
    KeyPress space_{Space};
};

// The messages waiting from the other side; false once they ended the
// session (said in a message box).
bool NetworkSession::take_messages() {
    NetMessage message;
    for (;;) {
        const LinkReceive received = receive_from_peer(link_, message);
        if (received == LinkReceive::Nothing)
            break;
        if (received == LinkReceive::Malformed) {
            network_message(
                "The other player's Blokit sent a message that cannot be read; the "
                "connection was closed.",
                "Das andere Blokit hat eine unlesbare Nachricht geschickt; die Verbindung "
                "wurde getrennt.");
            return false;
        }
        if (peer_.receive(message, platform::time_ms()) == PeerEvent::Left) {
            network_message("The other player left the game.",
                            "Der andere Spieler hat das Spiel verlassen.");
            return false;
        }
    }
    peer_.rollback().reconcile();
    if (peer_.check_step() == PeerEvent::OutOfStep) {
        save_replay(replay_of_game());
        network_message("The game went out of step.", "Das Spiel ist aus dem Takt geraten.");
        return false;
    }
    if (peer_.check_silence(platform::time_ms()) == PeerEvent::Silent) {
        network_message(
            "Nothing came from the other player for 5 seconds: the other player left.",
            "Vom anderen Spieler kam 5 Sekunden lang nichts: er hat das Spiel verlassen.");
        return false;
    }
    return true;
}

void NetworkSession::send_packets() {
    for (const std::vector<std::uint8_t>& packet : peer_.outgoing())
        link_.send(packet);
}

// A tick's time has passed: each one, the inputs go out, played or not.
bool NetworkSession::tick_due() {
    if (platform::time_ms() - last_tick_ms_ <= tick_length_ms)
        return false;
    last_tick_ms_ = platform::time_ms();
    return true;
}

void NetworkSession::play_due_tick() {
    follow_pause();
    if (peer_.next_tick() == TickOutcome::Play)
        peer_.rollback().advance(read_side_input(link_.local_side, escape_, key_set_change_));
}

// P on either side pauses both; while paused, Space, P or Esc here resumes.
void NetworkSession::follow_pause() {
    bool pressed = pause_.pressed();
    if (peer_.paused()) {
        // Both presses are taken, so that neither acts later.
        const bool space = space_.pressed();
        const bool escape = escape_.pressed();
        pressed = pressed || space || escape;
    }
    if (pressed)
        peer_.press_pause();
    if (peer_.paused() != showing_pause_) {
        showing_pause_ = peer_.paused();
        present_between_ticks([this](GameOutput& shown) {
            if (showing_pause_)
                shown.draw_paused();
            else
                redraw_game(shown);
        });
    }
}

Replay NetworkSession::replay_of_game() const {
    ReplayRecorder recorder(start_);
    const RollbackSession& rollback = peer_.rollback();
    for (std::uint32_t tick = 0; tick < std::min(rollback.tick(), rollback.remote_known()); ++tick)
        recorder.add(rollback.frame(tick));
    return recorder.finish(state_checksum(game_state));
}

template <class Step> Ending NetworkSession::run(Step step) {
    while (!quit_requested) {
        if (pump_message(last_tick_ms_ + tick_ms))
            continue;
        check_music_key();
        if (!take_messages())
            return Ending::Left;
        if (const std::optional<Ending> ending = step())
            return *ending;
        platform::idle_until(last_tick_ms_ + tick_ms);
    }
    return Ending::Quit;
}

Ending NetworkSession::play_game() {
    seed_ = link_.seed + peer_.game() * seed_step;
    start_ = replay_start_of(game_state, seed_);
    start_game(seed_);
    game_output().play_effect(SoundEffect::Start);
    last_tick_ms_ = platform::time_ms();
    showing_pause_ = false;
    return run([this]() -> std::optional<Ending> {
        if (peer_.game_over()) {
            save_replay(replay_of_game());
            return Ending::Done;
        }
        if (tick_due()) {
            play_due_tick();
            send_packets();
        }
        return std::nullopt;
    });
}

// The result screen: Space here says this side wants the next game, Esc
// leaves. Done once both want it.
Ending NetworkSession::agree_on_next_game() {
    draw_match_result();
    return run([this]() -> std::optional<Ending> {
        if (escape_.pressed())
            return Ending::Quit;
        if (space_.pressed())
            peer_.set_ready();
        if (peer_.next_game_agreed()) {
            peer_.start_next_game();
            return Ending::Done;
        }
        if (tick_due())
            send_packets();
        return std::nullopt;
    });
}

} // namespace

void play_network_games(NetworkLink& link) {
    const GameState before = game_state;
    game_state = GameState{};
    game_state.player_count = 2;
    game_state.game_mode = link.mode;
    show_network_legend(true);
    {
        NetworkSession session(link);
        Ending ending = Ending::Done;
        while (ending == Ending::Done && (ending = session.play_game()) == Ending::Done)
            ending = session.agree_on_next_game();
        if (ending == Ending::Quit)
            for (int i = 0; i < leave_sends; ++i)
                link.send(encode_message(Leave{link.session}));
    }
    show_network_legend(false);
    game_state = before;
}
