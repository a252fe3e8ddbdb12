#pragma once

#include <string>

// The text that scrolls along the bottom of the title screen. The game joins
// its lines into one, dropping the line breaks, so every line ends in a blank.
std::string make_scroll_text();
