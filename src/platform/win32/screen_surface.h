#pragma once

// The window's visible picture: an 8-bit software surface, as the game draws
// it, shown through DirectDraw. In full-screen it is copied into the back
// buffer of an 8-bit flipping chain whose palette follows the game's; in a
// window it is converted through the palette to the desktop's depth and
// copied to the desktop's primary surface, clipped to the window. The
// DirectDraw surfaces' real losses (another program in front of a
// full-screen game) are the software surface's losses.

#include "platform/present.h"
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

class ScreenSurface : public platform::Surface, public Screen {
  public:
    ScreenSurface(ScreenParts parts, int width, int height);
    ~ScreenSurface() override;

    void chain(platform::SurfaceRef back_buffer) { attach_back_buffer(std::move(back_buffer)); }
    void repaint() override;
    platform::Result restore() override;

  protected:
    platform::Result ready() override;
    void show(const platform::Rect& area) override;

  private:
    void show_fullscreen();
    void show_windowed(const platform::Rect& area);

    ScreenParts parts_;
    platform::ColourTracker colours_;
};

} // namespace win32
