#pragma once

// The headless backend's whole machine state, shared by its parts.

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/screen.h"
#include "platform/keyboard.h"
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
    std::array<platform::PadKeys, 2> pad_keys{};
    bool pad_unplugged = false;
    // Key polls since the clock last moved: a loop that polls keys without
    // ever waiting still sees time pass, so it cannot hang a test.
    std::uint32_t polls_since_advance = 0;
    // Since when an input wait has found nothing more scripted.
    std::optional<std::uint64_t> endless_since;
    std::uint16_t user_lang_id = 0x0409;

    // Display.
    std::deque<Frame> frames;
    std::uint64_t frames_presented = 0;
    std::string frame_directory;
    std::map<VideoCall, platform::Result> video_faults;
    std::vector<const platform::Surface*> restores;
    int palettes_created = 0;
    int flips_to_gdi_surface = 0;
    WindowInfo window;
    std::deque<platform::BoxAnswer> box_answers;
    std::vector<ShownBox> boxes;
    int cursor_count = 0;
    platform::Cursor cursor = platform::Cursor::Arrow;
};

State& state();
void schedule(std::uint64_t when, const ScriptEvent& event);
void apply(const ScriptEvent& event);

// Ends the program with a message at a wait that nothing still to come can
// end: only a scripted key or message could, and the script holds none.
// `awaited` names what alone ends the wait (a window message), which then
// fails at once; null for a timed wait, which fails only inside an input
// wait (platform/input_wait.h) that has found nothing scripted for a second.
void fail_if_endless(const char* awaited);

} // namespace headless
