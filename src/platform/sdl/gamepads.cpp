#include "platform/sdl/gamepads.h"
#include "platform/keyboard.h"

#include <algorithm>
#include <array>
#include <vector>

namespace sdl {
namespace {

// How far the left stick must lean to count as a d-pad press.
constexpr Sint16 stick_threshold = 16000;
constexpr std::size_t pad_count = 2;

struct Pads {
    std::vector<SDL_GameController*> open;
    std::array<platform::PadKeys, pad_count> keys{};
};

Pads& pads() {
    static Pads instance;
    return instance;
}

std::vector<SDL_GameController*>::iterator find_pad(SDL_JoystickID instance) {
    auto& open = pads().open;
    return std::find_if(open.begin(), open.end(), [instance](SDL_GameController* pad) {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == instance;
    });
}

bool pressed(SDL_GameController* pad, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(pad, button) != 0;
}

Sint16 stick_x(SDL_GameController* pad) {
    return SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
}

bool holds(SDL_GameController* pad, const platform::PadKeys& keys, int virtual_key) {
    if (virtual_key == platform::vk::Space && pressed(pad, SDL_CONTROLLER_BUTTON_START))
        return true;
    if (virtual_key == platform::vk::Escape && pressed(pad, SDL_CONTROLLER_BUTTON_BACK))
        return true;
    if (virtual_key == 0)
        return false;
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
    return !pads().open.empty();
}

void gamepad_added(int device_index) {
    if (!SDL_IsGameController(device_index))
        return;
    if (find_pad(SDL_JoystickGetDeviceInstanceID(device_index)) != pads().open.end())
        return;
    if (SDL_GameController* pad = SDL_GameControllerOpen(device_index))
        pads().open.push_back(pad);
}

void gamepad_removed(SDL_JoystickID instance) {
    const auto gone = find_pad(instance);
    if (gone == pads().open.end())
        return;
    SDL_GameControllerClose(*gone);
    pads().open.erase(gone);
}

bool gamepad_holds(int virtual_key) {
    const Pads& all = pads();
    for (std::size_t pad = 0; pad < all.open.size() && pad < pad_count; ++pad)
        if (holds(all.open[pad], all.keys[pad], virtual_key))
            return true;
    return false;
}

} // namespace sdl

namespace platform {

void set_pad_keys(int pad, const PadKeys& keys) {
    if (pad >= 0 && pad < static_cast<int>(sdl::pad_count))
        sdl::pads().keys[static_cast<std::size_t>(pad)] = keys;
}

} // namespace platform
