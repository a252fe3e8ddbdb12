#pragma once

// The window's visible picture: an 8-bit software surface, as the game draws
// it, shown through DirectDraw. In full-screen it is copied into the back
// buffer of an 8-bit flipping chain whose palette follows the game's; in a
// window it is converted through the palette to the desktop's depth and
// copied to the desktop's primary surface, clipped to the window. The
// DirectDraw surfaces' real losses (another program in front of a
// full-screen game) are the software surface's losses; restoring makes the
// DirectDraw surfaces anew when the display mode changed meanwhile.

#include "platform/present.h"
#include "platform/win32/screen_parts.h"

namespace win32 {

class ScreenSurface : public platform::Surface, public Screen {
  public:
    ScreenSurface(ScreenParts parts, const ScreenSetup& setup, int width, int height);
    ~ScreenSurface() override;

    void chain(platform::SurfaceRef back_buffer) { attach_back_buffer(std::move(back_buffer)); }
    void repaint() override;
    bool exclusive() const override { return setup_.exclusive; }
    void present_exclusive(bool exclusive) override;
    platform::Result restore() override;

  protected:
    platform::Result ready() override;
    void show(const platform::Rect& area) override;

  private:
    void show_fullscreen();
    void show_windowed(const platform::Rect& area);
    // Where the picture's top-left pixel shows on the desktop.
    POINT origin() const;
    HRESULT remake();

    ScreenParts parts_;
    ScreenSetup setup_;
    platform::ColourTracker colours_;
};

} // namespace win32
