#include "game/session.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

bool quit_requested = false;
int app_active = 0;
bool use_english = false;
bool shutting_down = false;

namespace {

// The one message record of every message loop.
platform::Message message;

// Handles the message that peek_message() found.
void handle_message() {
    if (!platform::get_message(message))
        quit_requested = true;
    platform::dispatch_message(message);
}
} // namespace

bool pump_message() {
    if (!platform::peek_message(message))
        return false;
    handle_message();
    return true;
}

bool pump_message(std::uint32_t due_ms) {
    if (!platform::peek_message(message, due_ms))
        return false;
    handle_message();
    return true;
}

std::uint32_t input_wait_due() {
    return platform::time_ms() + input_wait_ms;
}

bool key_down(int virtual_key) {
    return platform::key_is_down(virtual_key);
}

void wait_keys_released(std::initializer_list<int> keys) {
    const platform::InputWait wait{"the wait for held keys to be released"};
    while (std::any_of(keys.begin(), keys.end(), key_down))
        platform::idle_until(input_wait_due());
}
