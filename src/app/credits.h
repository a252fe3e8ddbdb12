#pragma once

// The message box at every start: the credits, and the question whether to
// play full-screen.

// The credits text in English or German, ending with the full-screen question.
const char* credits_text(bool english);

// Shows the credits box; true when the player wants to play full-screen.
bool ask_fullscreen();
