#!/bin/bash
# Plays the real game program twice under a virtual X server, its sound going
# to files through SDL's disk audio driver, and measures the sound with sox.
# The first run starts a game (Space on the logo, 1 on the title) and switches the music off
# with M: silence, but for a dropped piece's effect; M again brings the music
# back, and M on the title screen switches it off once more before the window
# is closed. The second run, with that choice kept in the settings, plays
# nothing but the effects.
#
# Usage: run_music_switch_e2e.sh RUN_DIR
# Needs xvfb-run, xdotool, xwininfo and sox.

set -u
run_dir=$(realpath "$1")

# shellcheck source=tests/e2e/game_session.sh
. "$(dirname "$0")/game_session.sh"
run_inside_x "$0" "$@"

# shellcheck source=tests/e2e/game_directory.sh
. "$(dirname "$0")/game_directory.sh"
out_dir=
begin_session

fail() {
    echo "FAIL: $*"
    [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log"
    exit 1
}

enter_game_directory "$run_dir" "$work"
export SDL_AUDIODRIVER=disk
# 16-bit stereo frames at 44100 Hz: four bytes each.
frame_bytes=4
rate=44100

# The frames the disk driver has written so far: the sound's clock.
frames_now() {
    echo $(($(stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0) / frame_bytes))
}

# The RMS and maximum amplitude of the sound from frame $1 to frame $2.
levels() {
    sox -t raw -r $rate -e signed -b 16 -c 2 "$SDL_DISKAUDIOFILE" -n trim "$1s" "=$2s" stat 2>&1 |
        awk '/^RMS +amplitude/ {rms = $3} /^Maximum amplitude/ {max = $3} END {print rms, max}'
}

# Measures the sound from frame $1 to frame $2 under the name $3 and checks
# that its RMS amplitude is above ($4 = loud) or below ($4 = quiet) the
# music's threshold.
expect_level() {
    local rms max
    read -r rms max <<<"$(levels "$1" "$2")"
    echo "$3: RMS $rms, maximum $max"
    [ -n "$rms" ] || fail "no sound measured for $3"
    if [ "$4" = loud ]; then
        awk -v r="$rms" 'BEGIN {exit !(r > 0.01)}' || fail "$3: the music is not heard"
    else
        awk -v r="$rms" 'BEGIN {exit !(r < 0.001)}' || fail "$3: the music is still heard"
    fi
}

# Two seconds of sound from now on, between the marks from and to.
listen() {
    from=$(frames_now)
    sleep 2
    to=$(frames_now)
}

export SDL_DISKAUDIOFILE=$work/first.raw
start_windowed "$run_dir/blokit"
sleep 3
press space
press 1
sleep 2
listen
expect_level "$from" "$to" "game, music on" loud
press m
sleep 1
listen
expect_level "$from" "$to" "game, music off" quiet
from=$(frames_now)
press ctrl
sleep 1
to=$(frames_now)
read -r _ drop_peak <<<"$(levels "$from" "$to")"
echo "drop with the music off: maximum $drop_peak"
awk -v m="$drop_peak" 'BEGIN {exit !(m > 0.05)}' || fail "the drop's effect is not heard"
press m
sleep 1
listen
expect_level "$from" "$to" "game, music on again" loud
press Escape
sleep 2
press space
sleep 2
press m
close_game || fail "the first run did not end after its window was closed"
[ "$game_status" -eq 0 ] || fail "the first run's exit code is $game_status"
grep -qx "Music=0" "$XDG_CONFIG_HOME/Quillmoor/Blokit.conf" || fail "Music=0 is not stored"
echo "settings: $(tr '\n' ' ' <"$XDG_CONFIG_HOME/Quillmoor/Blokit.conf")"

export SDL_DISKAUDIOFILE=$work/second.raw
start_windowed "$run_dir/blokit"
sleep 3
expect_level 0 "$(frames_now)" "second run, logo" quiet
press space
press 1
# The start sound lasts well under two seconds.
sleep 2
listen
expect_level "$from" "$to" "second run, game" quiet
close_game || fail "the second run did not end after its window was closed"
[ "$game_status" -eq 0 ] || fail "the second run's exit code is $game_status"
echo "PASS"
