#pragma once

// Puts every global of the program back to its value at program start: the
// application flags, the game's records and drawing geometry, the high-score
// table, the resource lookup, the random generator and the attached game
// output. Lasting assets, sound effects, music, the display and its window
// are released.
void reset_program_state();
