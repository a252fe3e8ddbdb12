#!/bin/bash
# Plays the Windows build under Wine on a virtual X server, twice: first in a
# window (No in the credits box), then in full-screen (Yes). Each run leaves
# the logo for the title screen and starts a one-player game there with 1,
# ends it with Escape, leaves the high-score
# table for the title screen, quits there with Escape, leaves the closing
# screen and must end with exit code 0; every screen is photographed. The
# first run answers the music box (Wine has no MIDI device here) and switches
# the music off with M in the game; after it HISCORE.DAT must hold its 424
# bytes and the registry the "Options" value and the "Music" value 0. The
# second run, with the music off, must not try to play it: no music box.
#
# Usage: run_wine_e2e.sh GAME_DIR OUTPUT_DIR
# GAME_DIR holds blokit.exe and its data (dist/blokit-windows); the
# screenshots are kept in OUTPUT_DIR. Needs wine, xvfb-run, xdotool, xwininfo
# and ImageMagick.

set -u
game_dir=$(realpath "$1")
out_dir=$(mkdir -p "$2" && realpath "$2")

# Each run has an X server of its own: full-screen needs one of 640 x 480,
# as Wine offers the display modes of the screen's own size only.
if [ -z "${BLOKIT_E2E_RUN:-}" ]; then
    work=$(mktemp -d)
    trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
    mkdir -p "$work/game"
    cp "$game_dir"/blokit.exe "$game_dir"/*.ONE "$game_dir"/*.MDS "$work/game/"
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # The prefix must be complete before the game starts: a first start
    # while Wine still sets it up ends at once.
    { wineboot -i && wineserver -w; } >/dev/null 2>&1 ||
        { echo "FAIL: wine cannot make its prefix"; exit 1; }
    export BLOKIT_E2E_WORK=$work
    for run in windowed:1024x768x24 fullscreen:640x480x24; do
        # -noreset: a server that resets when its last client leaves drops
        # a program that connects at that moment.
        BLOKIT_E2E_RUN=${run%%:*} timeout -k 10 300 \
            xvfb-run -a -s "-screen 0 ${run#*:} -noreset" "$0" "$@" || exit 1
    done
    echo "PASS"
    exit 0
fi

work=$BLOKIT_E2E_WORK
game_pid=
finish() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill "$game_pid" 2>/dev/null
    fi
    wineserver -k 2>/dev/null
}
trap finish EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/game.log" ] && grep -v '^ALSA lib' "$work/game.log" | sed 's/^/game: /'
    exit 1
}

# shellcheck source=/dev/null
source "$(dirname "$0")/../../tests/e2e/game_session.sh"

answer_box() {
    local box
    box=$(find_window "$1" "$2") || fail "no \"$1\" box"
    xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key --window "$box" "$3"
}

# Starts the game and answers the credits box with $1; with $2 = music, the
# music box with OK, else it must not come.
start_game() {
    (cd "$work/game" && exec wine blokit.exe) >"$work/game.log" 2>&1 &
    game_pid=$!
    answer_box "QM-Blokit" 90 "$1"
    if [ "$2" = music ]; then
        answer_box "MIDI" 30 Return
    elif find_window "MIDI" 5 >/dev/null; then
        fail "a music box although the music is off"
    fi
    local window
    window=$(find_window "QM - Blokit" 30) || fail "no game window"
    xdotool windowactivate --sync "$window" 2>/dev/null
    sleep 3
}

# Escape on the title screen quits; any key leaves the closing screen.
quit_game() {
    press Escape
    sleep 3
    shot "$1"
    press space
    for _ in $(seq 1 100); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$game_pid" 2>/dev/null && fail "the game did not end"
    wait "$game_pid"
    local status=$?
    game_pid=
    [ "$status" -eq 0 ] || fail "exit code $status"
    echo "exit code 0"
}

if [ "$BLOKIT_E2E_RUN" = windowed ]; then
    start_game n music
    shot window_logo
    press space
    press 1
    sleep 4
    press m
    press Left
    press Down
    sleep 1
    shot window_game
    press Escape
    sleep 3
    shot window_table
    press space
    sleep 4
    shot window_title
    quit_game window_closing
    [ "$(stat -c %s "$work/game/HISCORE.DAT" 2>/dev/null)" = 424 ] ||
        fail "no high-score table written"
    echo "HISCORE.DAT: 424 bytes"
    options=$(wine reg query 'HKCU\Software\Quillmoor\Blokit' /v Options 2>/dev/null |
        tr -d '\r' | grep Options) || fail "no settings in the registry"
    echo "registry:$options"
    music=$(wine reg query 'HKCU\Software\Quillmoor\Blokit' /v Music 2>/dev/null |
        tr -d '\r' | grep Music) || fail "no music setting in the registry"
    echo "registry:$music"
    [ "${music##* }" = 0 ] || fail "the music switched off is not kept"
else
    start_game y silent
    shot fullscreen_logo
    press space
    press 1
    sleep 4
    press Right
    press Down
    sleep 1
    shot fullscreen_game
    press Escape
    sleep 3
    shot fullscreen_table
    press space
    sleep 4
    shot fullscreen_title
    quit_game fullscreen_closing
fi
