#!/bin/bash
# Two real game programs play a network game on this machine, each on a
# virtual X server of its own: one hosts, the other joins through a relay of
# ours that delays every packet by 60 ms each way and drops 5 %. Both
# players drop pieces until a board tops out; then both screens must show
# the same result screen, and both programs must have kept the same replay,
# which ends with the final state's checksum. Then Esc leaves on the joiner,
# and the host says that the other player left.
#
# Usage: run_network_e2e.sh RUN_DIR RELAY [OUTPUT_DIR]
# With BLOKIT_WINE_JOINER=GAME_DIR the joiner is the Windows program of
# GAME_DIR (blokit.exe and its data) under Wine.
# Needs xvfb-run, Xvfb, xdotool, xwininfo and ImageMagick's import, identify
# and compare; wine for the Windows joiner.

set -u
arguments=("$@")
run_dir=$(realpath "$1")
relay=$(realpath "$2")
out_dir=${3:-${BLOKIT_E2E_SCREENS:-}}
[ -z "$out_dir" ] || out_dir=$(mkdir -p "$out_dir" && realpath "$out_dir")

# shellcheck source=tests/e2e/game_session.sh
. "$(dirname "$0")/game_session.sh"
run_inside_x "$0" "${arguments[@]}"

. "$(dirname "$0")/game_directory.sh"
begin_session
joiner_pid=
relay_pid=
joiner_x=

finish() {
    for pid in $joiner_pid $relay_pid $joiner_x; do
        kill "$pid" 2>/dev/null
    done
    [ -z "${BLOKIT_WINE_JOINER:-}" ] || wineserver -k 2>/dev/null
    end_session
}
trap finish EXIT

fail() {
    echo "FAIL: $*"
    for log in host joiner relay; do
        [ -f "$work/$log.log" ] && sed "s/^/$log: /" "$work/$log.log"
    done
    exit 1
}

host_display=$DISPLAY
# The joiner's own X server, which writes its display number when ready.
Xvfb -displayfd 6 -screen 0 1024x768x24 -noreset 6>"$work/joiner_display" 2>/dev/null &
joiner_x=$!
for _ in $(seq 1 100); do
    [ -s "$work/joiner_display" ] && break
    sleep 0.1
done
[ -s "$work/joiner_display" ] || fail "no X server for the joiner"
joiner_display=:$(head -n 1 "$work/joiner_display")

mkdir "$work/host" "$work/joiner"
# Ports of loopback that are likely free; a port taken fails the run.
host_port=$((20000 + RANDOM % 20000))
relay_port=$((host_port + 1))
"$relay" "$relay_port" "$host_port" 60 5 200 >"$work/relay.log" 2>&1 &
relay_pid=$!

# Starts the game program in directory $1 with the arguments after it, on the
# current DISPLAY, answers its credits box for a window, and leaves the game
# window's id in started_window.
start_game_program() {
    local dir=$1
    shift
    (enter_game_directory "$run_dir" "$work/$dir" && exec "$run_dir/blokit" "$@") \
        >"$work/$dir.log" 2>&1 &
    game_pid=$!
    local box
    box=$(find_window "QM-Blokit" 30) || fail "no credits box for the $dir"
    xdotool key --window "$box" Escape
    started_window=$(find_window "QM - Blokit" 30) || fail "no game window for the $dir"
}

# The same with the Windows program under Wine, which also shows that it
# has no music here.
start_windows_program() {
    local dir=$1 box
    shift
    cp "$BLOKIT_WINE_JOINER"/blokit.exe "$BLOKIT_WINE_JOINER"/*.ONE "$BLOKIT_WINE_JOINER"/*.MDS \
        "$work/$dir/"
    (cd "$work/$dir" && exec wine blokit.exe "$@") >"$work/$dir.log" 2>&1 &
    game_pid=$!
    box=$(find_window "QM-Blokit" 90) || fail "no credits box for the $dir"
    xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key --window "$box" n
    if box=$(find_window "MIDI" 20); then
        xdotool windowactivate --sync "$box" 2>/dev/null
        xdotool key --window "$box" Return
    fi
    started_window=$(find_window "QM - Blokit" 30) || fail "no game window for the $dir"
}

export DISPLAY=$host_display
start_game_program host --host "$host_port"
host_window=$started_window
host_pid=$game_pid
sleep 2
import -window root "$out_dir/host_waiting.png" || fail "no screenshot of the waiting screen"

export DISPLAY=$joiner_display
if [ -n "${BLOKIT_WINE_JOINER:-}" ]; then
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    { wineboot -i && wineserver -w; } >/dev/null 2>&1 || fail "wine cannot make its prefix"
    start_windows_program joiner --join "127.0.0.1:$relay_port"
    xdotool windowactivate --sync "$started_window" 2>/dev/null
else
    start_game_program joiner --join "127.0.0.1:$relay_port"
fi
joiner_window=$started_window
joiner_pid=$game_pid
game_pid=$host_pid
sleep 3
DISPLAY=$host_display shot host_game

# Both drop pieces with Ctrl, the host twice as often, until the host's
# board is full and the result screen comes.
for round in $(seq 1 40); do
    DISPLAY=$host_display xdotool keydown ctrl
    [ $((round % 2)) = 0 ] && DISPLAY=$joiner_display xdotool keydown ctrl
    sleep 0.15
    DISPLAY=$host_display xdotool keyup ctrl
    [ $((round % 2)) = 0 ] && DISPLAY=$joiner_display xdotool keyup ctrl
    sleep 0.25
done
sleep 8
DISPLAY=$host_display import -window "$host_window" "$out_dir/host_result.png" ||
    fail "no host screenshot"
DISPLAY=$joiner_display import -window "$joiner_window" "$out_dir/joiner_result.png" ||
    fail "no joiner screenshot"
difference=$(compare -metric AE "$out_dir/host_result.png" "$out_dir/joiner_result.png" null: 2>&1)
echo "result screens differ in $difference pixels"
[ "$difference" = 0 ] || fail "the two result screens differ"

host_replay=$(ls "$work"/host/replays/* 2>/dev/null | tail -n 1)
joiner_replay=$(ls "$work"/joiner/[Rr]eplays/* 2>/dev/null | tail -n 1)
[ -n "$host_replay" ] && [ -n "$joiner_replay" ] || fail "a side kept no replay"
echo "final checksums: host $(tail -c 8 "$host_replay" | od -An -tx8) joiner $(tail -c 8 "$joiner_replay" | od -An -tx8)"
cmp "$host_replay" "$joiner_replay" || fail "the two replays differ"

# Esc on the joiner's result screen leaves; the host is told.
DISPLAY=$joiner_display press Escape
DISPLAY=$host_display find_window "Blokit network game" 20 >/dev/null ||
    fail "the host was not told that the other player left"
echo "PASS"
