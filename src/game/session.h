#pragma once

#include <cstdint>
#include <initializer_list>

// The state of the running program that every screen loop and the game loop
// read, and the steps those loops are made of.
extern bool quit_requested; // the program is to end
extern int app_active;      // nonzero while the game's window belongs to the active application
extern bool use_english;    // English texts; German otherwise
extern bool shutting_down;  // start-up abandoned or shut-down under way

// One step of the message pump of every waiting loop: handles one waiting
// window message and returns true, or returns false when none is waiting.
// A quit message sets quit_requested.
bool pump_message();
// The same, but when no message is waiting the loop may sleep until
// `due_ms` (a platform::time_ms() value) unless a key or message comes first.
bool pump_message(std::uint32_t due_ms);

// The longest a loop that waits only for keys and messages sleeps at a time.
constexpr std::uint32_t input_wait_ms = 100;
// The time until which such a loop may sleep.
std::uint32_t input_wait_due();

// Whether the key with this virtual-key code is down at this moment. Every
// keyboard test of the program goes through it.
bool key_down(int virtual_key);

// Waits, polling the keys without handling messages, until none of them is
// down, so that a key that ended one screen does not also act on the next.
void wait_keys_released(std::initializer_list<int> keys);
