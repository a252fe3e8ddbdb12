#!/bin/bash
# Starts the real game program where no display can be reached: once with
# DISPLAY unset and once with DISPLAY naming an X server that is not there.
# Each time the program must end by itself with exit code 0, having said on
# the terminal that it cannot open its display. Then the game runs on a
# virtual X server that goes away under it: the program must end soon after,
# saying why, instead of hanging on the lost connection.
#
# Usage: run_without_display.sh RUN_DIR

set -u
run_dir=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/game_directory.sh"
# shellcheck source=tests/e2e/game_session.sh
. "$(dirname "$0")/game_session.sh"
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

# Loses its display while the credits box is up, then again during the logo.
for answer in "" Return; do
    Xvfb ":$dead" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$dead" ] && break; sleep 0.1; done
    DISPLAY=:$dead timeout -k 5 30 "$run_dir/blokit" >game.log 2>&1 &
    game_pid=$!
    if ! box=$(DISPLAY=:$dead find_window "QM-Blokit" 10); then
        echo "no credits box"
        failed=1
    elif [ -n "$answer" ]; then
        DISPLAY=:$dead xdotool key --window "$box" "$answer"
        if DISPLAY=:$dead find_window "QM - Blokit" 10 >/dev/null; then
            sleep 0.5
        else
            echo "no game window"
            failed=1
        fi
    fi
    kill "$server"
    wait "$game_pid"
    status=$?
    wait "$server"
    echo "display lost after '${answer:-nothing}': exit code $status"
    if [ $status -ge 124 ] || ! grep -q "^Blokit: the connection to the display is lost" game.log; then
        sed 's/^/game: /' game.log
        failed=1
    fi
done
exit $failed
