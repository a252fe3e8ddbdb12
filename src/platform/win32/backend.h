#pragma once

// What the Win32 backend's parts share: the program instance, the game's
// window, its visible surface and the queue of the window messages the game
// handles.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "platform/messages.h"

namespace win32 {

// The window's visible picture.
class Screen {
  public:
    virtual ~Screen() = default;
    // Puts the picture on the screen again (after the window was uncovered).
    virtual void repaint() = 0;
    // Whether the picture fills the screen in the game's own display mode.
    virtual bool exclusive() const = 0;
    // Shows the picture full-screen or in the window from now on, however
    // the game opened its display (in the window when the display refuses
    // the game's mode); the window's style is the caller's.
    virtual void present_exclusive(bool exclusive) = 0;
};

struct Backend {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    Screen* screen = nullptr;
    HCURSOR cursor = nullptr;
};

Backend& backend();

// Alt+Return or F11: switches the game between the window and the whole
// screen (fullscreen.cpp).
bool toggles_fullscreen(UINT message, WPARAM wparam, LPARAM lparam);
void toggle_fullscreen();

// The system's window procedure of the game's window.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Where the game keeps the files it writes when its program lies in
// `program_directory` (see platform::own_files_directory).
std::string own_files_directory(const std::string& program_directory);

// UTF-8 text as the system's wide characters.
std::wstring widen(const std::string& text);

} // namespace win32
