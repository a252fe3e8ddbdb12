#include "app/playfield_output.h"

void attach_playfield_output() {}
