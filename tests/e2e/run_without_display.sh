#!/bin/bash
# Starts the real game program where no display can be reached: once with
# DISPLAY unset and once with DISPLAY naming an X server that is not there.
# Each time the program must end by itself with exit code 0, having said on
# the terminal that it cannot open its display.
#
# Usage: run_without_display.sh RUN_DIR

set -u
run_dir=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/game_directory.sh"
enter_game_directory "$run_dir" "$work"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

# A display number that no X server answers to.
dead=90
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do
    dead=$((dead + 1))
done

failed=0
for display in "" ":$dead"; do
    if [ -z "$display" ]; then
        env -u DISPLAY timeout -k 5 30 "$run_dir/blokit" >game.log 2>&1
    else
        DISPLAY=$display timeout -k 5 30 "$run_dir/blokit" >game.log 2>&1
    fi
    status=$?
    echo "DISPLAY='$display': exit code $status"
    if [ $status -ne 0 ] || ! grep -q "^Direct Draw: Cannot be initialized!" game.log; then
        sed 's/^/game: /' game.log
        failed=1
    fi
done
exit $failed
