// Gamepads read as the keys the game lends them; SDL's virtual joysticks
// stand in for real pads.

#include "game/driver.h"
#include "game/player.h"
#include "gfx/display.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace platform::vk;

class Gamepads : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(open_display(mode_windowed, "QM - Blokit", 8, 640, 480, 640, 480));
        // The dummy driver's window never has the focus that pads wait for.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        platform::set_pad_keys(0, {Left, Right, Down, Control});
        platform::set_pad_keys(1, {'A', 'D', 'S', Shift});
        platform::pad_was_unplugged(); // a pad of an earlier test
    }
    void TearDown() override { close_display(); }

    // Plugs in a pad and lets the program see it; its joystick, to press with.
    static SDL_Joystick* plug_in() {
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        const int index = SDL_JoystickAttachVirtualEx(&pad);
        EXPECT_GE(index, 0) << SDL_GetError();
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
        handle_messages();
        return SDL_JoystickFromInstanceID(instance);
    }
    static void unplug(SDL_Joystick* pad) {
        SDL_JoystickDetachVirtual(device_index_of(pad));
        handle_messages();
    }
    static int device_index_of(SDL_Joystick* pad) {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad))
                return i;
        return -1;
    }
    // After a millisecond, since the program looks at its devices at most
    // once in one.
    static void handle_messages() {
        SDL_Delay(1);
        platform::Message message;
        while (platform::peek_message(message))
            platform::get_message(message);
    }
    // Whether `key` reads as down while `button` of `pad` is held, and as up
    // once it is let go, with the messages pumped in between as a game does.
    static bool reads(SDL_Joystick* pad, SDL_GameControllerButton button, int key) {
        SDL_JoystickSetVirtualButton(pad, button, 1);
        handle_messages();
        const bool down = platform::key_is_down(key);
        SDL_JoystickSetVirtualButton(pad, button, 0);
        handle_messages();
        return down && !platform::key_is_down(key);
    }
};

TEST_F(Gamepads, ButtonsReadAsTheLentKeysOfTheirPlayer) {
    SDL_Joystick* first = plug_in();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, Left));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Right));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_A, Down));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_DPAD_UP, Down));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_B, Control));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_DPAD_DOWN, Control));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_START, Space));
    EXPECT_TRUE(reads(first, SDL_CONTROLLER_BUTTON_BACK, Escape));
    EXPECT_FALSE(reads(first, SDL_CONTROLLER_BUTTON_B, Shift));

    // The stick leans: only well past the middle.
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    handle_messages();
    EXPECT_TRUE(platform::key_is_down(Left));
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 8000);
    handle_messages();
    EXPECT_FALSE(platform::key_is_down(Left));
    EXPECT_FALSE(platform::key_is_down(Right));
    SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 0);

    // The second pad plays the left player, and keeps doing so when the
    // first is unplugged; a pad plugged in then takes the free place.
    SDL_Joystick* second = plug_in();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(reads(second, SDL_CONTROLLER_BUTTON_B, Shift));
    EXPECT_FALSE(reads(second, SDL_CONTROLLER_BUTTON_B, Control));
    EXPECT_FALSE(platform::pad_was_unplugged());
    unplug(first);
    EXPECT_TRUE(platform::pad_was_unplugged());
    EXPECT_FALSE(platform::pad_was_unplugged()) << "told once";
    EXPECT_TRUE(reads(second, SDL_CONTROLLER_BUTTON_B, Shift));
    EXPECT_FALSE(reads(second, SDL_CONTROLLER_BUTTON_B, Control));
    SDL_Joystick* third = plug_in();
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(reads(third, SDL_CONTROLLER_BUTTON_B, Control));

    // Lent for a name: Start and A end it as Return, B takes back as Backspace.
    platform::set_pad_keys(0, {.rotate = Return, .drop = Backspace, .start = Return});
    EXPECT_TRUE(reads(third, SDL_CONTROLLER_BUTTON_START, Return));
    EXPECT_FALSE(reads(third, SDL_CONTROLLER_BUTTON_START, Space));
    EXPECT_TRUE(reads(third, SDL_CONTROLLER_BUTTON_A, Return));
    EXPECT_TRUE(reads(third, SDL_CONTROLLER_BUTTON_B, Backspace));
    EXPECT_TRUE(reads(third, SDL_CONTROLLER_BUTTON_BACK, Escape));
    unplug(second);
    unplug(third);
}

TEST_F(Gamepads, APadMovesThePieceOfAGame) {
    reset_game_values();
    player_count = 1;
    start_game();
    SDL_Joystick* pad = plug_in();
    ASSERT_NE(pad, nullptr);
    const int column = players[0].piece.column;
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    for (int tick = 0; tick < 3; ++tick) {
        SDL_Delay(30);
        game_tick();
    }
    EXPECT_EQ(players[0].piece.column, column + 1) << "one press, one step";
    unplug(pad);
}

} // namespace
