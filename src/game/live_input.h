#pragma once

#include "game/input_frame.h"

// Reads the keyboard for one tick, in the order the tick acts on it: Esc
// (waiting until it is up), P (the whole pause happens here), the F keys
// (waiting until the one that acts is up), then the action keys of each
// active record's key set as the F keys leave it. The waits lie outside the
// tick itself, so a tick is the same whether its inputs come from here, from
// a replay or from elsewhere.
InputFrame read_input_frame();

// Shows "PAUSED" and waits until P is released, then until Space, P or Esc
// is pressed and all three are up again; then shows the playfield again.
void pause_game();
