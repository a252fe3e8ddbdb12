#pragma once

#include <cstdint>

namespace platform {

// The few window messages the game's window procedure handles.
enum class MessageKind {
    ActivateApp,     // wparam 1: the game became the active application, 0: it lost that
    Paint,           // the window needs its picture again
    Close,           // the user asked to close the window (window button, Alt+F4)
    Destroy,         // the window is gone
    SetCursor,       // the pointer moved over the window
    PaletteChanged,  // wparam: nonzero when the game's own window changed the palette
    QueryNewPalette, // the window may realise its palette
    Quit,            // posted by post_quit_message; wparam is the exit code
};

struct Message {
    MessageKind kind = MessageKind::Paint;
    std::intptr_t wparam = 0;
};

using WindowProcedure = void (*)(const Message&);

// The procedure that dispatch_message hands every message to. It ends by
// calling default_window_procedure, as a window procedure would.
void set_window_procedure(WindowProcedure procedure);

// What the system does with a message nobody handled: Close destroys the
// window, which delivers Destroy to the window procedure at once.
void default_window_procedure(const Message& message);

// Looks at the next message without removing it. When none is waiting it
// returns false after letting a little time pass (see idle()).
bool peek_message(Message& message);
// The same, but the time let pass when none is waiting lasts until `due_ms`
// at the latest (see idle_until()).
bool peek_message(Message& message, std::uint32_t due_ms);
// Removes the next message, waiting for one; false when it is Quit.
bool get_message(Message& message);
void dispatch_message(const Message& message);
// Sleeps until a message arrives.
void wait_message();
void post_quit_message(int exit_code);

} // namespace platform
