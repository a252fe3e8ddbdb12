#pragma once

// Which physical keys (USB HID usage numbers, as SDL's scancodes are) give a
// Windows virtual-key code. Letters and digits follow the label the user's
// keyboard layout gives a key; every other key its position.

#include <vector>

namespace sdl {

std::vector<int> scancodes_for(int virtual_key);

} // namespace sdl
