#pragma once

// Gives the open window the program's icon, ICON.PIX from the game's data;
// without that picture the window keeps the system's default icon.
void show_window_icon();
