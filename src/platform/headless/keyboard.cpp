#include "platform/keyboard.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"

namespace headless {
namespace {
constexpr std::uint32_t polls_per_millisecond = 10000;
}

void press_at(std::uint64_t when, int virtual_key) {
    schedule(when, {ScriptEvent::Kind::KeyDown, virtual_key, {}});
}

void release_at(std::uint64_t when, int virtual_key) {
    schedule(when, {ScriptEvent::Kind::KeyUp, virtual_key, {}});
}

void set_key(int virtual_key, bool down) {
    if (virtual_key >= 0 && virtual_key < 256)
        state().keys[static_cast<std::size_t>(virtual_key)] = down;
}

void apply(const ScriptEvent& event) {
    switch (event.kind) {
    case ScriptEvent::Kind::KeyDown:
        set_key(event.virtual_key, true);
        break;
    case ScriptEvent::Kind::KeyUp:
        set_key(event.virtual_key, false);
        break;
    case ScriptEvent::Kind::Post:
        post(event.message);
        break;
    }
}

} // namespace headless

namespace platform {

bool key_is_down(int virtual_key) {
    headless::State& s = headless::state();
    if (++s.polls_since_advance >= headless::polls_per_millisecond)
        headless::advance(1);
    return virtual_key >= 0 && virtual_key < 256 && s.keys[static_cast<std::size_t>(virtual_key)];
}

} // namespace platform
