#pragma once

// The message box at every start: the credits, and the question whether to
// play full-screen.

namespace platform {
class Window;
}

// The credits text in English or German, ending with the full-screen question.
const char* credits_text(bool english);

// Shows the credits box; true when the player wants to play full-screen.
bool ask_fullscreen();

// Tells the player, over `window`, that full screen was asked for but the
// display refused it, so the game plays in a window.
void tell_fullscreen_refused(platform::Window* window);
