# shellcheck shell=bash disable=SC2034,SC2154
# Shell functions of the scripts that run the real game program under a
# virtual X server. The script that sources this file keeps the game's
# process id in game_pid, its temporary directory in work and where
# screenshots go in out_dir, has a function `fail MESSAGE`, and reads the
# exit code from game_status.

# Runs the calling script again, with arguments "$@" (its own path first),
# under a virtual X server of its own, unless it already runs under one.
# -noreset: a server that resets when its last client leaves drops a game
# that connects at that moment.
run_inside_x() {
    [ -n "${BLOKIT_E2E_INSIDE_X:-}" ] && return 0
    export BLOKIT_E2E_INSIDE_X=1
    exec timeout -k 10 240 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
}

# Makes the scratch directory $work, where screenshots go unless $out_dir
# names a place, and ends the game and removes $work when the script ends.
begin_session() {
    work=$(mktemp -d)
    out_dir=${out_dir:-$work}
    game_pid=
    trap end_session EXIT
}

# Ends the game if it still runs and removes $work: the scripts' EXIT trap.
end_session() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill "$game_pid" 2>/dev/null
        sleep 1
        kill -9 "$game_pid" 2>/dev/null
    fi
    rm -rf "$work"
}

# Waits up to $2 seconds for a top-level window whose name contains $1 and
# prints its id; fails at once when the game has ended.
find_window() {
    local name=$1 deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$name" | head -n 1 | awk '{print $1}')
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$game_pid" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

# Starts PROGRAM (with its ARGUMENTS) with its output in $work/game.log,
# answers the credits box with Escape (No: a window, not the full screen) and
# a "MIDI" box, which only comes when the music cannot play, with OK, and
# gives the game's window, kept in $game_window, the focus.
start_windowed() {
    local box midi
    "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
    box=$(find_window "QM-Blokit" 30) || fail "no credits box"
    xdotool key --window "$box" Escape
    if midi=$(find_window "MIDI" 3); then
        echo "music box shown; answering OK"
        xdotool key --window "$midi" Return
    fi
    game_window=$(find_window "QM - Blokit" 30) || fail "no game window"
    xdotool windowfocus "$game_window" 2>/dev/null
}

# Closes the game's window with Alt+F4 and waits up to 30 s for the program
# to end by itself: false when it still runs, else its exit code is left in
# game_status.
close_game() {
    xdotool keydown alt keydown F4 2>/dev/null
    sleep 0.1
    xdotool keyup F4 keyup alt 2>/dev/null
    for _ in $(seq 1 300); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && return 1
    wait "$game_pid"
    game_status=$?
    game_pid=
}

# Holds key $1 for $2 seconds.
tap() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# Holds a key long enough for a program that polls the keyboard to see it.
press() {
    tap "$1" 0.1
    sleep 0.3
}

# The wall-clock time in microseconds, as the program's trace writes it.
now_us() {
    date +%s%6N
}

# Whether the program's trace ($trace) shows, after time $1, the title
# screen polling its keys 1 and 2 (0x31, 0x32) and no game polling P (0x50),
# with the program still running.
on_title_since() {
    kill -0 "$game_pid" 2>/dev/null &&
        awk -v since="$1" '$1 == "key" && $2 > since { seen[$3] = 1 }
            END { exit !(seen[49] && seen[50] && !seen[80]) }' "$trace"
}

# A screenshot of the whole screen, which must show a picture.
shot() {
    import -window root "$out_dir/$1.png" || fail "no screenshot $1"
    local colours
    colours=$(identify -format '%k' "$out_dir/$1.png")
    echo "screenshot $1: $colours colours"
    [ "$colours" -ge 16 ] || fail "screenshot $1 is blank ($colours colours)"
}

# A picture of the game's window alone, 640 x 480, as $out_dir/$1.png.
window_shot() {
    import -window "$game_window" "$out_dir/$1.png" 2>/dev/null
}

# How many pixels of two pictures differ, in the rectangle $3 (WxH+X+Y) or
# in all of them.
differing_pixels() {
    local area=${3:+-extract $3}
    # shellcheck disable=SC2086
    compare -metric AE $area "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

# Drops pieces while taking pictures of the game's window, until the screen
# after the game shows: the board's left frame, $2 (WxH+X+Y), is no longer as
# in the picture $1. Leaves the last picture of the game as
# $out_dir/$3.png; fails unless it is the picture the game ended on (it
# stands for seconds after a top-out, so the two before agree).
shoot_until_game_ends() {
    local reference=$1 frame=$2 name=$3 i
    for i in $(seq 1 200); do
        [ -z "${drop_key:-}" ] || xdotool keydown "$drop_key" sleep 0.05 keyup "$drop_key"
        window_shot "$name-$i" || fail "no picture of the window"
        [ "$(differing_pixels "$reference" "$out_dir/$name-$i.png" "$frame")" = 0 ] || break
    done
    [ "$i" -gt 2 ] || fail "$name: the game ended before its pictures"
    [ "$(differing_pixels "$out_dir/$name-$((i - 2)).png" "$out_dir/$name-$((i - 1)).png")" = 0 ] ||
        fail "$name: the game's screen still changed before it ended"
    mv "$out_dir/$name-$((i - 1)).png" "$out_dir/$name.png"
    rm -f "$out_dir/$name"-*.png
}
