#pragma once

// The two full-screen pictures around the game: the logo after start-up and
// the advert before the program ends. Each waits for Space, Escape or Return.

// "QMLOGO.PIX" over the whole screen, until a key or a quit request.
void show_logo_screen();

// "WERBEPIX.PIX", 640 x 400 between black bands, until a key or a quit
// message; it waits even when a quit was already requested, and leaves
// quit_requested set.
void show_advert_screen();
