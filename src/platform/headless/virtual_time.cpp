#include "platform/clock.h"
#include "platform/headless/audio_clock.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"
#include "platform/input_wait.h"
#include "platform/message_queue.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace headless {
namespace {
constexpr std::uint64_t endless_wait_grace_ms = 1000;
}

State& state() {
    static State instance;
    return instance;
}

void reset(std::uint64_t start_ms) {
    State& s = state();
    s = State{};
    s.now = start_ms;
    platform::message_queue().clear();
    platform::set_window_procedure(nullptr);
    reset_audio();
}

std::uint64_t now() {
    return state().now;
}

void advance(std::uint64_t ms) {
    State& s = state();
    const std::uint64_t from = s.now;
    const std::uint64_t target = from + ms;
    s.polls_since_advance = 0;
    // Events are applied in time order, the clock standing at each event's
    // time while it applies.
    while (!s.script.empty() && s.script.begin()->first <= target) {
        auto first = s.script.begin();
        if (first->first > s.now)
            s.now = first->first;
        const ScriptEvent event = first->second;
        s.script.erase(first);
        apply(event);
    }
    s.now = target;
    advance_audio(from, target);
}

void schedule(std::uint64_t when, const ScriptEvent& event) {
    state().script.emplace(when, event);
}

bool script_pending() {
    return !state().script.empty();
}

void fail_if_endless(const char* awaited) {
    State& s = state();
    const char* wait = platform::input_wait_name();
    if (script_pending() || (!wait && !awaited)) {
        s.endless_since.reset();
        return;
    }
    // A loop that waits for the player may still end by its own test after
    // a timed pass (a quit already requested): it has a second for that.
    if (!awaited) {
        if (!s.endless_since)
            s.endless_since = s.now;
        if (s.now - *s.endless_since < endless_wait_grace_ms)
            return;
    }
    std::fprintf(stderr,
                 "headless: at %llu ms, nothing more is scripted that could end %s, which waits "
                 "for %s: the test forgot a key or a message\n",
                 static_cast<unsigned long long>(s.now), wait ? wait : "the program",
                 awaited ? awaited : "a key or a window message");
    std::abort();
}

} // namespace headless

namespace platform {

std::uint32_t time_ms() {
    return static_cast<std::uint32_t>(headless::state().now);
}

void idle() {
    headless::fail_if_endless(nullptr);
    headless::advance(1);
}

// One virtual millisecond, as idle(): callers loop until their time has
// come, so every run stays exactly as deterministic as before.
void idle_until(std::uint32_t) {
    idle();
}

} // namespace platform
