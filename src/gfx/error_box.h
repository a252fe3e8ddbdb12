#pragma once

// The program's warning box for fatal and file errors, over the display's
// window when there is one.
void error_box(const char* text, const char* caption);
