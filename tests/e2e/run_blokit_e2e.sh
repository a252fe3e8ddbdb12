#!/bin/bash
# Plays the real game program under a virtual X server: answers the credits
# box, leaves the logo with Space (still held when the title screen starts,
# it starts a one-player game at once), photographs the game, ends it with
# Escape, leaves the high-score table for the title screen, closes the window
# there, and checks the exit code and the files the game left behind.
#
# Usage: run_blokit_e2e.sh RUN_DIR OUTPUT_DIR
# Screenshots are kept in OUTPUT_DIR. Needs xvfb-run, xdotool, xwininfo and
# ImageMagick's import and identify.

set -u
run_dir=$(realpath "$1")
out_dir=$(mkdir -p "$2" && realpath "$2")

if [ -z "${BLOKIT_E2E_INSIDE_X:-}" ]; then
    export BLOKIT_E2E_INSIDE_X=1
    exec timeout -k 10 240 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# shellcheck source=tests/e2e/game_session.sh
. "$(dirname "$0")/game_session.sh"
work=$(mktemp -d)
game_pid=
trap end_session EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log"
    exit 1
}

# Holds a key long enough for a program that polls the keyboard to see it.
press() {
    xdotool keydown "$1"
    sleep 0.1
    xdotool keyup "$1"
    sleep 0.3
}

shot() {
    import -window root "$out_dir/$1.png" || fail "no screenshot $1"
    local colours
    colours=$(identify -format '%k' "$out_dir/$1.png")
    echo "screenshot $1: $colours colours"
    [ "$colours" -ge 16 ] || fail "screenshot $1 is blank ($colours colours)"
}

# The game runs in a directory of its own, so what it writes stays there.
for file in "$run_dir"/*.ONE "$run_dir"/*.MDS; do
    ln -s "$file" "$work/"
done
mkdir "$work/config"
export XDG_CONFIG_HOME="$work/config"
export SDL_AUDIODRIVER=dummy
cd "$work" || exit 1
"$run_dir/blokit" >"$work/game.log" 2>&1 &
game_pid=$!

# Escape answers the credits box with No: a window, not the full screen.
box=$(find_window "QM-Blokit" 30) || fail "no credits box"
xdotool key --window "$box" Escape
# A "MIDI" box only comes when the music cannot play; OK goes on.
if midi=$(find_window "MIDI" 3); then
    echo "music box shown; answering OK"
    xdotool key --window "$midi" Return
fi
game_window=$(find_window "QM - Blokit" 30) || fail "no game window"
xdotool windowfocus "$game_window" 2>/dev/null
sleep 2
shot logo
press space
sleep 3
shot game
press Escape
sleep 2
shot table
press space
sleep 4
shot title

# Alt+F4 closes the window; the program then ends by itself.
close_game || fail "the game did not end after its window was closed"
[ "$game_status" -eq 0 ] || fail "exit code $game_status"
[ "$(stat -c %s "$work/HISCORE.DAT" 2>/dev/null)" = 424 ] || fail "no high-score table written"
settings=$(find "$work/config" -type f | head -n 1)
[ -n "$settings" ] || fail "no settings file written"
echo "settings file ${settings#"$work"/}: $(cat "$settings")"
echo "PASS"
