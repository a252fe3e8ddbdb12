#pragma once

// The copy rule of every drawing primitive: a copy that finds a surface lost
// restores the listed surfaces, in order, and is issued again; one that
// finds the device busy is issued again; any other result ends it.
// Presenting goes on after every failure until it succeeds. Both give up
// after a bounded number of attempts, so a failure that never clears (a
// surface that cannot be restored while the game is switched away) cannot
// hang the program.

#include <initializer_list>

#include "platform/video.h"

constexpr int copy_attempts = 100;

enum class Retry {
    WhileLostOrBusy, // drawing primitives
    UntilOk          // presenting
};

template <class Operation>
platform::Result issue_with_retries(Retry rule, Operation operation,
                                    std::initializer_list<platform::Surface*> restore_on_loss) {
    platform::Result result = platform::Result::Generic;
    for (int attempt = 0; attempt < copy_attempts; ++attempt) {
        result = operation();
        if (result == platform::Result::SurfaceLost) {
            for (platform::Surface* surface : restore_on_loss)
                if (surface)
                    surface->restore();
        } else if (result == platform::Result::Ok ||
                   (rule == Retry::WhileLostOrBusy &&
                    result != platform::Result::WasStillDrawing)) {
            return result;
        }
    }
    return result;
}
