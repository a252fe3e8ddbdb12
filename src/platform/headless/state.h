#pragma once

// The headless backend's whole machine state, shared by its parts.

#include <array>
#include <cstdint>
#include <deque>
#include <map>

#include "platform/messages.h"

namespace headless {

struct ScriptEvent {
    enum class Kind { KeyDown, KeyUp, Post } kind = Kind::KeyDown;
    int virtual_key = 0;
    platform::Message message{};
};

struct State {
    std::uint64_t now = 0;
    std::multimap<std::uint64_t, ScriptEvent> script;
    std::array<bool, 256> keys{};
    // Key polls since the clock last moved: a loop that polls keys without
    // ever waiting still sees time pass, so it cannot hang a test.
    std::uint32_t polls_since_advance = 0;
    std::deque<platform::Message> messages;
    platform::WindowProcedure window_procedure = nullptr;
};

State& state();
void schedule(std::uint64_t when, const ScriptEvent& event);
void apply(const ScriptEvent& event);

} // namespace headless
