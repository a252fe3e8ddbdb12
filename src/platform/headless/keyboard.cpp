#include "platform/keyboard.h"
#include "platform/headless/headless.h"
#include "platform/headless/state.h"

#include <utility>

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

platform::PadKeys pad_keys(int pad) {
    const auto& lent = state().pad_keys;
    return pad >= 0 && pad < static_cast<int>(lent.size()) ? lent[static_cast<std::size_t>(pad)]
                                                           : platform::PadKeys{};
}

void unplug_pad() {
    state().pad_unplugged = true;
}

} // namespace headless

namespace platform {

bool key_is_down(int virtual_key) {
    headless::State& s = headless::state();
    if (++s.polls_since_advance >= headless::polls_per_millisecond)
        headless::advance(1);
    return virtual_key >= 0 && virtual_key < 256 && s.keys[static_cast<std::size_t>(virtual_key)];
}

// No pads here: the keys are only kept for tests to look at.
void set_pad_keys(int pad, const PadKeys& keys) {
    auto& lent = headless::state().pad_keys;
    if (pad >= 0 && pad < static_cast<int>(lent.size()))
        lent[static_cast<std::size_t>(pad)] = keys;
}

bool pad_was_unplugged() {
    return std::exchange(headless::state().pad_unplugged, false);
}

} // namespace platform
