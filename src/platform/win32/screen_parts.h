#pragma once

// The DirectDraw objects that show the game's picture, and how they are
// made: once when the display opens, and again whenever the display has
// changed under them (another program switched the display mode while the
// game was in the background).

#include "platform/win32/direct_draw.h"

namespace win32 {

struct ScreenParts {
    Com<IDirectDraw7> direct_draw;
    Com<IDirectDrawSurface7> primary;
    Com<IDirectDrawSurface7> back;    // full-screen: the flipping chain's back buffer
    Com<IDirectDrawPalette> palette;  // full-screen
    Com<IDirectDrawSurface7> staging; // windowed: the picture at the desktop's depth
    Com<IDirectDrawClipper> clipper;  // windowed
};

// What the parts are made for.
struct ScreenSetup {
    HWND window = nullptr;
    bool exclusive = false; // full-screen, in the display mode below
    int back_buffers = 0;
    // The game's own mode, also for a game opened in a window that the
    // player switches to full screen.
    int mode_width = 640;
    int mode_height = 480;
    int mode_depth = 8;
    // The game draws where the picture shows on the desktop (it opened in a
    // window), not from the top left of the window's client area.
    bool desktop_coordinates = false;
};

template <class Interface> Com<Interface> hold(Interface* object) {
    return Com<Interface>(object);
}

// Makes the surfaces of `setup` (the palette too in full-screen) with the
// DirectDraw object that `parts` already holds.
HRESULT make_screen_parts(const ScreenSetup& setup, ScreenParts& parts);

// Sets the display mode of a full-screen `setup`.
HRESULT set_mode(IDirectDraw7& direct_draw, const ScreenSetup& setup);

// Lets the surfaces go, the chain's before the object that made them; the
// DirectDraw object stays.
void release_surfaces(ScreenParts& parts);

} // namespace win32
