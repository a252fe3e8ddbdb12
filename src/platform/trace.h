#pragma once

// An opt-in timing log for measuring the program from outside: with
// BLOKIT_TRACE=FILE set, every present and every change of a key's state (and
// a key's first poll after a pause, which marks the game's ticks) is written
// to FILE with the wall-clock time in microseconds. Without it nothing is
// written and nothing is measured.

namespace platform {

// A present; `lit` is false while every palette colour is black.
void trace_present(bool lit);

// A poll of `virtual_key` that found it down or up.
void trace_key_poll(int virtual_key, bool down);

} // namespace platform
