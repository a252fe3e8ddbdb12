#include "platform/sdl/gamepads.h"
#include "platform/keyboard.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sdl {
namespace {

// How far the left stick must lean to count as a d-pad press.
constexpr Sint16 stick_threshold = 16000;
constexpr std::size_t pad_count = 2;

// A pad keeps its place from being plugged in to being unplugged, however
// the other pads come and go; a place without a pad is null.
struct Pads {
    std::array<SDL_GameController*, pad_count> open{};
    std::array<platform::PadKeys, pad_count> keys{};
    bool unplugged = false;
};

Pads& pads() {
    static Pads instance;
    return instance;
}

SDL_GameController** find_pad(SDL_JoystickID instance) {
    auto& open = pads().open;
    const auto found = std::find_if(open.begin(), open.end(), [instance](SDL_GameController* pad) {
        return pad && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == instance;
    });
    return found == open.end() ? nullptr : &*found;
}

bool pressed(SDL_GameController* pad, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(pad, button) != 0;
}

Sint16 stick_x(SDL_GameController* pad) {
    return SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
}

bool holds(SDL_GameController* pad, const platform::PadKeys& keys, int virtual_key) {
    if (virtual_key == 0)
        return false;
    if (virtual_key == keys.start && pressed(pad, SDL_CONTROLLER_BUTTON_START))
        return true;
    if (virtual_key == keys.back && pressed(pad, SDL_CONTROLLER_BUTTON_BACK))
        return true;
    if (virtual_key == keys.left &&
        (pressed(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) || stick_x(pad) <= -stick_threshold))
        return true;
    if (virtual_key == keys.right &&
        (pressed(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || stick_x(pad) >= stick_threshold))
        return true;
    if (virtual_key == keys.rotate &&
        (pressed(pad, SDL_CONTROLLER_BUTTON_A) || pressed(pad, SDL_CONTROLLER_BUTTON_DPAD_UP)))
        return true;
    return virtual_key == keys.drop &&
           (pressed(pad, SDL_CONTROLLER_BUTTON_B) || pressed(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN));
}

} // namespace

void start_gamepads() {
    static const bool started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    (void)started;
}

bool gamepads_open() {
    const auto& open = pads().open;
    return std::any_of(open.begin(), open.end(), [](SDL_GameController* pad) { return pad; });
}

void gamepad_added(int device_index) {
    if (!SDL_IsGameController(device_index) ||
        find_pad(SDL_JoystickGetDeviceInstanceID(device_index)))
        return;
    auto& open = pads().open;
    const auto free = std::find(open.begin(), open.end(), nullptr);
    if (free != open.end())
        *free = SDL_GameControllerOpen(device_index);
}

void gamepad_removed(SDL_JoystickID instance) {
    SDL_GameController** gone = find_pad(instance);
    if (!gone)
        return;
    SDL_GameControllerClose(*gone);
    *gone = nullptr;
    pads().unplugged = true;
}

bool gamepad_holds(int virtual_key) {
    const Pads& all = pads();
    for (std::size_t pad = 0; pad < pad_count; ++pad)
        if (all.open[pad] && holds(all.open[pad], all.keys[pad], virtual_key))
            return true;
    return false;
}

} // namespace sdl

namespace platform {

void set_pad_keys(int pad, const PadKeys& keys) {
    if (pad >= 0 && pad < static_cast<int>(sdl::pad_count))
        sdl::pads().keys[static_cast<std::size_t>(pad)] = keys;
}

bool pad_was_unplugged() {
    return std::exchange(sdl::pads().unplugged, false);
}

} // namespace platform
