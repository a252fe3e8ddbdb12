#pragma once

// Reference pictures of the screens, one PNG per screen under tests/golden/.
// A frame must match its reference exactly, pixel for pixel and colour for
// colour. After an intended change to a screen, run the tests with
// BLOKIT_UPDATE_GOLDEN=1 to rewrite the references from the frames, and look
// at every rewritten picture before committing it.

#include "platform/headless/screen.h"

// Checks `frame` against tests/golden/<name>.png (or rewrites that file). On a
// mismatch the frame is kept as a PNG in a temporary directory, named in the
// failure.
void expect_golden_frame(const headless::Frame& frame, const char* name);

// Whether the references are being rewritten (BLOKIT_UPDATE_GOLDEN=1).
bool updating_golden();

// The back buffer as a frame, in the colours last set.
headless::Frame back_buffer_frame();
