#pragma once

// The letter shapes every text of the game is drawn from: one design of
// 5 x 6 cells per character code 32 to 127, scaled up where it is used.
constexpr int glyph_columns = 5;
constexpr int glyph_rows = 6;

// Whether cell (column, row) of character `code` is inked; codes outside
// 32 to 127 have no ink.
bool glyph_inked(int code, int column, int row);
