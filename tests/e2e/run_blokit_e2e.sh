#!/bin/bash
# Plays the real game program under a virtual X server: answers the credits
# box, taps Space on the logo (the title screen follows, not a game), starts
# a one-player game with 1, photographs it, drops pieces until the player
# tops out, leaves the high-score table for the title screen, plays a two-player game ended with
# Escape, leaves its result with Escape (the title screen follows, the
# program goes on), closes the window there, and checks the exit code and
# the files the game left behind. The program's trace (BLOKIT_TRACE) tells
# which screen polled the keys: the title screen's 1 and 2, or a game's P.
# Then it watches the one-player game's replay with --replay: its last
# picture must be the game's last picture, and the title screen follows.
#
# Usage: run_blokit_e2e.sh RUN_DIR [OUTPUT_DIR]
#        run_blokit_e2e.sh --installed PROGRAM [OUTPUT_DIR]
# The first runs the game in a directory of its own holding the data of
# RUN_DIR. The second runs an installed PROGRAM from a directory without data,
# with HOME in a fresh directory: the high-score table must land in the XDG
# data directory there, and the installed tree must be left as it was.
# Screenshots are kept in OUTPUT_DIR (else in $BLOKIT_E2E_SCREENS) when one is
# named; otherwise they go with the scratch directory. Needs xvfb-run, xdotool,
# xwininfo and ImageMagick's import, identify and compare.

set -u
arguments=("$@")
installed=
if [ "$1" = --installed ]; then
    installed=1
    shift
    program=$(realpath "$1")
    install_root=$(dirname "$(dirname "$program")")
else
    run_dir=$(realpath "$1")
    program=$run_dir/blokit
fi
out_dir=${2:-${BLOKIT_E2E_SCREENS:-}}
[ -z "$out_dir" ] || out_dir=$(mkdir -p "$out_dir" && realpath "$out_dir")

# shellcheck source=tests/e2e/game_session.sh
. "$(dirname "$0")/game_session.sh"
run_inside_x "$0" "${arguments[@]}"

begin_session
# The left frame of a one-player board, the same in every picture of a game.
board_frame=4x460+216+8

fail() {
    echo "FAIL: $*"
    [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log"
    exit 1
}

# Every file below the installed tree with its size, mode and contents.
fingerprint() {
    (cd "$install_root" && find . -printf '%p %s %m\n' | sort && find . -type f -exec md5sum {} + | sort)
}

if [ -n "$installed" ]; then
    # Started from the desktop: an unrelated directory, the user's own HOME.
    mkdir "$work/home"
    export HOME="$work/home"
    unset XDG_CONFIG_HOME XDG_DATA_HOME
    export SDL_AUDIODRIVER=dummy
    high_score_file=$HOME/.local/share/blokit/HISCORE.DAT
    settings_dir=$HOME/.config
    tree_before=$(fingerprint)
    cd "$work" || exit 1
else
    . "$(dirname "$0")/game_directory.sh"
    enter_game_directory "$run_dir" "$work"
    high_score_file=$work/HISCORE.DAT
    settings_dir=$work/config
fi
trace=$work/trace
export BLOKIT_TRACE=$trace
start_windowed "$program"
sleep 2
shot logo
# A short tap, as a new player gives it: the title screen, not a game.
since=$(now_us)
tap space 0.08
sleep 0.3
shot title_slide_in
sleep 2
on_title_since "$since" || fail "a tap on the logo did not lead to the title screen"
press 1
sleep 3
shot game
window_shot game_window || fail "no picture of the game's window"
# Drops until the player tops out; the game-over picture then stands for
# four fall periods before the table comes.
drop_key=ctrl shoot_until_game_ends "$out_dir/game_window.png" "$board_frame" game_end
sleep 1
shot table
press space
sleep 4
shot title
press 2
sleep 3
press Escape
sleep 2
shot result
since=$(now_us)
press Escape
sleep 2
shot title_after_result
on_title_since "$since" || fail "Escape on the two-player result did not lead to the title screen"

# Alt+F4 closes the window; the program then ends by itself.
close_game || fail "the game did not end after its window was closed"
[ "$game_status" -eq 0 ] || fail "exit code $game_status"
[ "$(stat -c %s "$high_score_file" 2>/dev/null)" = 424 ] || fail "no high-score table written"
echo "high-score table ${high_score_file#"$work"/}"
settings=$(find "$settings_dir" -type f | head -n 1)
[ -n "$settings" ] || fail "no settings file written"
echo "settings file ${settings#"$work"/}: $(cat "$settings")"
if [ -n "$installed" ]; then
    [ "$(fingerprint)" = "$tree_before" ] || fail "the installed tree changed"
    echo "installed tree unchanged"
fi

# The one-player game's replay, kept beside the table, watched: it ends on
# the game's last picture and the title follows.
replay=$(find "$(dirname "$high_score_file")/replays" -name '000001-*.bkr' | head -n 1)
[ -n "$replay" ] || fail "no replay kept"
echo "replay ${replay#"$work"/}: $(stat -c %s "$replay") bytes"
start_windowed "$program" --replay "$replay"
shoot_until_game_ends "$out_dir/game_window.png" "$board_frame" replay_end
[ "$(differing_pixels "$out_dir/game_end.png" "$out_dir/replay_end.png")" = 0 ] ||
    fail "the replay's last picture differs from the game's"
echo "the replay ends on the game's last picture"
sleep 2
shot replay_title
close_game || fail "the game did not end after the replay's window was closed"
[ "$game_status" -eq 0 ] || fail "exit code $game_status after the replay"
echo "PASS"
