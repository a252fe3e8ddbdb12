#include "platform/messages.h"
#include "platform/clock.h"
#include "platform/message_queue.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/display_connection.h"
#include "platform/sdl/gamepads.h"

#include <algorithm>

namespace sdl {
namespace {

using platform::Message;
using platform::MessageKind;

void post(MessageKind kind, std::intptr_t wparam = 0) {
    platform::message_queue().push_back({kind, wparam});
}

bool queued(MessageKind kind) {
    const auto& messages = platform::message_queue();
    return std::any_of(messages.begin(), messages.end(),
                       [kind](const Message& message) { return message.kind == kind; });
}

void window_event(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        post(MessageKind::ActivateApp, 1);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        post(MessageKind::ActivateApp, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (backend().screen)
            backend().screen->repaint();
        if (!queued(MessageKind::Paint))
            post(MessageKind::Paint);
        break;
    case SDL_WINDOWEVENT_ENTER:
        post(MessageKind::SetCursor);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        post(MessageKind::Close);
        break;
    default:
        break;
    }
}

void translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT:
        window_event(event.window);
        break;
    case SDL_QUIT:
        // Also sent when the last window closes: one close request is enough.
        if (!queued(MessageKind::Close) && !backend().window_destroyed)
            post(MessageKind::Close);
        break;
    case SDL_KEYDOWN:
        // Alt+F4 closes the window, as the system's default handling does.
        if (event.key.keysym.scancode == SDL_SCANCODE_F4 && (event.key.keysym.mod & KMOD_ALT))
            post(MessageKind::Close);
        if (!event.key.repeat && toggles_fullscreen(event.key.keysym))
            toggle_fullscreen();
        break;
    case SDL_CONTROLLERDEVICEADDED:
        gamepad_added(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        gamepad_removed(event.cdevice.which);
        break;
    case SDL_MOUSEMOTION:
        if (!queued(MessageKind::SetCursor))
            post(MessageKind::SetCursor);
        break;
    default:
        break;
    }
}

bool events_started() {
    static const bool started = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    return started;
}

Uint64 looked_at_ms = 0;
Uint64 pumped_at_ms = 0;
// SDL's look also notices devices plugged in, signals and delayed focus
// changes; it comes at least this often, however quiet the display is.
constexpr Uint64 longest_quiet_ms = 200;

void pump_at(Uint64 now) {
    looked_at_ms = pumped_at_ms = now;
    SDL_PumpEvents();
}

// A quiet display can be told from the connection alone, unless SDL must
// look for pads' buttons anyway.
bool quiet_since_last_look(Uint64 now) {
    return now - pumped_at_ms < longest_quiet_ms && !gamepads_open() && display_is_quiet();
}

} // namespace

Backend& backend() {
    static Backend instance;
    return instance;
}

void look_at_display() {
    const Uint64 now = SDL_GetTicks64();
    if (now == looked_at_ms)
        return;
    looked_at_ms = now;
    if (!quiet_since_last_look(now))
        pump_at(now);
}

bool wait_for_events(int timeout_ms) {
    switch (gamepads_open() ? DisplayWait::Unavailable : wait_on_display(timeout_ms)) {
    case DisplayWait::TimedOut:
        return false;
    case DisplayWait::Readable:
        pump_at(SDL_GetTicks64());
        return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    case DisplayWait::Unavailable:
        break;
    }
    const bool arrived = SDL_WaitEventTimeout(nullptr, timeout_ms) != 0;
    pumped_at_ms = looked_at_ms = SDL_GetTicks64();
    return arrived;
}

void pump_events() {
    if (!events_started())
        return;
    look_at_display();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(event);
}

} // namespace sdl

namespace platform {

void default_window_procedure(const Message& message) {
    sdl::Backend& backend = sdl::backend();
    if (message.kind != MessageKind::Close || backend.window_destroyed)
        return;
    // The window goes out of sight at once; its resources stay until the
    // display is closed, so drawing after this harms nothing.
    backend.window_destroyed = true;
    if (backend.window)
        SDL_HideWindow(backend.window);
    dispatch_message({MessageKind::Destroy, 0});
}

void pump_system_messages() {
    sdl::pump_events();
}

void await_system_messages(bool must_arrive) {
    if (!must_arrive)
        sdl::wait_for_events(50);
    else if (!sdl::wait_for_events(10))
        idle();
}

} // namespace platform
