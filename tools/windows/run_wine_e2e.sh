#!/bin/bash
# Checks the Windows program as Windows sees it (the timer import, the
# manifest, icon and version in its resources), then plays it under Wine on
# a virtual X server, twice, from a folder whose name Windows' legacy code
# pages cannot spell: first in a window (No in the credits box), started in
# its folder, then in full-screen (Yes), started from another folder. Each
# run leaves the logo for the title screen, starts a one-player game there
# with 1, ends it with Escape, leaves the
# high-score table for the title screen, quits there with Escape, leaves the
# closing screen and must end with exit code 0; every screen is
# photographed. The first run answers the music box (Wine has no MIDI device
# here) and switches the music off with M in the game; after it the
# registry must hold the "Options" value and the "Music" value 0. The
# second run, with the music off, must not try to play it: no music box.
# The windowed game must tick every 26 ms (most often, from BLOKIT_TRACE)
# and stay live after Alt+Return on a display without the game's mode; the
# full-screen game loses the foreground to another program and must show a
# moving picture when it is back, then goes into a window with Alt+Return
# and back with F11, live again. After each run HISCORE.DAT beside the
# program must hold its 424 bytes, with no second table in the application
# data folder.
#
# Usage: run_wine_e2e.sh GAME_DIR OUTPUT_DIR FOREGROUND_SWITCH_EXE
# GAME_DIR holds blokit.exe and its data (dist/blokit-windows); the
# screenshots are kept in OUTPUT_DIR; FOREGROUND_SWITCH_EXE is the helper
# that takes the foreground (tools/windows/foreground_switch.cpp). Needs
# wine, xvfb-run, xdotool, xwininfo, ImageMagick, mingw-w64's objdump and
# icoutils. BLOKIT_E2E_RUNS=fullscreen:640x480x24 (or windowed:1024x768x24)
# plays one run only.

set -u
game_dir=$(realpath "$1")
out_dir=$(mkdir -p "$2" && realpath "$2")
switcher=$(realpath "$3")

# What a real Windows reads from the program file before it runs a line.
check_program() {
    local program=$1 manifest sizes
    x86_64-w64-mingw32-objdump -p "$program" | grep -q 'timeBeginPeriod' ||
        { echo "FAIL: blokit.exe does not import timeBeginPeriod"; return 1; }
    manifest=$(wrestool -x --raw -t 24 "$program")
    for setting in 'PerMonitorV2' '>UTF-8</activeCodePage>' 'level="asInvoker"' \
        '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
        grep -qF "$setting" <<<"$manifest" ||
            { echo "FAIL: the manifest lacks $setting"; return 1; }
    done
    sizes=$(wrestool -x -t 14 "$program" | icotool -l - | sed -n 's/.*--width=\([0-9]*\).*/\1/p' |
        tr '\n' ' ')
    [ "$sizes" = "16 24 32 48 64 256 " ] || { echo "FAIL: icon sizes: $sizes"; return 1; }
    wrestool -x --raw -t 16 "$program" | tr -d '\0' | grep -q 'ProductVersion' ||
        { echo "FAIL: no version information"; return 1; }
    echo "blokit.exe: timeBeginPeriod, manifest, icon ($sizes), version"
}

# Each run has an X server of its own: full-screen needs one of 640 x 480,
# as Wine offers the display modes of the screen's own size only.
if [ -z "${BLOKIT_E2E_RUN:-}" ]; then
    check_program "$game_dir/blokit.exe" || exit 1
    work=$(mktemp -d)
    trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
    # Cyrillic: outside every Western code page, so only UTF-8 names reach it.
    mkdir -p "$work/Блокит"
    cp "$game_dir"/blokit.exe "$game_dir"/*.ONE "$game_dir"/*.MDS "$work/Блокит/"
    cp "$switcher" "$work/foreground-switch.exe"
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # The prefix must be complete before the game starts: a first start
    # while Wine still sets it up ends at once.
    { wineboot -i && wineserver -w; } >/dev/null 2>&1 ||
        { echo "FAIL: wine cannot make its prefix"; exit 1; }
    export BLOKIT_E2E_WORK=$work
    for run in ${BLOKIT_E2E_RUNS:-windowed:1024x768x24 fullscreen:640x480x24}; do
        # -noreset: a server that resets when its last client leaves drops
        # a program that connects at that moment.
        BLOKIT_E2E_RUN=${run%%:*} timeout -k 10 300 \
            xvfb-run -a -s "-screen 0 ${run#*:} -noreset" "$0" "$@" || exit 1
    done
    echo "PASS"
    exit 0
fi

work=$BLOKIT_E2E_WORK
game=$work/Блокит
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

# Starts the game in folder $2 and answers the credits box with $1; with
# $3 = music, the music box with OK, else it must not come.
start_game() {
    (cd "$2" && BLOKIT_TRACE="Z:$work/trace" exec wine "$game/blokit.exe") >"$work/game.log" 2>&1 &
    game_pid=$!
    answer_box "QM-Blokit" 90 "$1"
    if [ "$3" = music ]; then
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

# Whether screenshots $1 and $2 differ in any pixel.
differs() {
    local changed
    changed=$(compare -metric AE "$out_dir/$1.png" "$out_dir/$2.png" null: 2>&1)
    echo "pixels changed from $1 to $2: $changed"
    [ "${changed%% *}" -gt 0 ] 2>/dev/null
}

# One table, beside the program, whichever folder the game started in.
check_table() {
    [ "$(stat -c %s "$game/HISCORE.DAT" 2>/dev/null)" = 424 ] ||
        fail "no high-score table written beside the program"
    local appdata
    appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -iname Blokit -path '*AppData*')
    [ -z "$appdata" ] || fail "a second table in $appdata"
    echo "HISCORE.DAT: 424 bytes beside the program"
}

# The time between the game's ticks while it ran: Escape is looked at once
# in every tick, from the first Left until Escape ended the game. The most
# common interval, in whole milliseconds, is checked: the others who share
# this machine's processors lengthen many ticks by a few milliseconds, the
# game's own pace does not change. The median and the mean are shown.
check_ticks() {
    cp "$work/trace" "$out_dir/trace.txt" 2>/dev/null || fail "no trace written"
    local ticks usual
    ticks=$(awk '$1 == "key" && $3 == 37 && $4 == 1 && !from { from = $2 }
        from && $1 == "key" && $3 == 27 {
            if ($4 == 1) exit
            if (last) printf "%.2f\n", ($2 - last) / 1000
            last = $2 }' "$work/trace" | sort -n)
    usual=$(awk '{ n[int($1 + 0.5)]++ } END { for (ms in n) if (n[ms] > most) { most = n[ms]; at = ms }
        print at }' <<<"$ticks")
    echo "ticks: $(wc -l <<<"$ticks"), most often ${usual:-none} ms," \
        "median $(awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }' <<<"$ticks") ms," \
        "mean $(awk '{ s += $1 } END { if (NR) printf "%.2f", s / NR }' <<<"$ticks") ms"
    [ "${usual:-0}" -ge 25 ] && [ "${usual:-0}" -le 27 ] ||
        fail "ticks come every ${usual:-?} ms, not 26"
}

if [ "$BLOKIT_E2E_RUN" = windowed ]; then
    start_game n "$game" music
    shot window_logo
    press space
    press 1
    sleep 4
    press m
    press Left
    press Down
    sleep 1
    shot window_game
    # This display has no 640 x 480 mode: Alt+Return keeps the window, live.
    xdotool keydown alt keydown Return
    sleep 0.1
    xdotool keyup Return keyup alt
    sleep 1
    shot window_after_alt_return
    press Left
    shot window_after_alt_return_moved
    differs window_after_alt_return window_after_alt_return_moved ||
        fail "the picture stands still after Alt+Return"
    press Escape
    sleep 3
    shot window_table
    press space
    sleep 4
    shot window_title
    quit_game window_closing
    check_ticks
    check_table
    options=$(wine reg query 'HKCU\Software\Quillmoor\Blokit' /v Options 2>/dev/null |
        tr -d '\r' | grep Options) || fail "no settings in the registry"
    echo "registry:$options"
    music=$(wine reg query 'HKCU\Software\Quillmoor\Blokit' /v Music 2>/dev/null |
        tr -d '\r' | grep Music) || fail "no music setting in the registry"
    echo "registry:$music"
    [ "${music##* }" = 0 ] || fail "the music switched off is not kept"
else
    rm -f "$game/HISCORE.DAT"
    start_game y "$work" silent
    shot fullscreen_logo
    press space
    press 1
    sleep 4
    press Right
    press Down
    sleep 1
    shot fullscreen_game
    # Another program in front for two seconds, then the game again: its
    # picture must be live, not the last one before the switch.
    wine "$work/foreground-switch.exe" 2 >>"$work/game.log" 2>&1 || fail "no game window to return to"
    sleep 1
    shot fullscreen_back
    press Left
    press Left
    shot fullscreen_moved
    differs fullscreen_back fullscreen_moved || fail "the picture stands still after the return"
    # Alt+Return: into a window; F11: full screen again, with a live picture.
    xdotool keydown alt keydown Return
    sleep 0.1
    xdotool keyup Return keyup alt
    sleep 1
    shot fullscreen_switched_to_window
    differs fullscreen_moved fullscreen_switched_to_window || fail "Alt+Return changed nothing"
    press F11
    sleep 1
    shot fullscreen_switched_back
    press Left
    shot fullscreen_switched_back_moved
    differs fullscreen_switched_back fullscreen_switched_back_moved ||
        fail "the picture stands still after F11"
    press Escape
    sleep 3
    shot fullscreen_table
    press space
    sleep 4
    shot fullscreen_title
    quit_game fullscreen_closing
    check_table
fi
