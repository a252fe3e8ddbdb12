#include "game/session.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

bool quit_requested = false;
int app_active = 0;
bool use_english = false;
bool shutting_down = false;

namespace {
// The one message record of every message loop.
platform::Message message;
} // namespace

bool pump_message() {
    if (!platform::peek_message(message))
        return false;
    if (!platform::get_message(message))
        quit_requested = true;
    platform::translate_message(message);
    platform::dispatch_message(message);
    return true;
}

bool key_down(int virtual_key) {
    return platform::key_is_down(virtual_key);
}

void wait_keys_released(std::initializer_list<int> keys) {
    while (std::any_of(keys.begin(), keys.end(), key_down))
        platform::idle();
}
