#!/bin/bash
# Measures what the real game program costs while it is played: processor
# time and resident memory on each screen, the time from the answered credits
# box to the first logo frame, and the regularity of the game's ticks; and
# what its music costs beside the least it can cost.
#
# Usage: measure_play.sh RUN_DIR [REPETITIONS]
# Environment: MEASURE_SECONDS (default 12) is the length of each measured
# phase.
#
# The program runs under a virtual X server of its own (640x480), with dummy
# audio, a temporary HOME and BLOKIT_TRACE set, and is driven with xdotool.
# Each repetition runs it once, as a new player: logo, title scroller, a
# one-player game without keys, the same game with a 30 ms key press every
# 200 ms, the game paused, the game with the music switched off (M, and M
# again after it), the high-score table.
# Processor time (user + system) comes from /proc/PID/stat: of all threads,
# of the main thread, and of SDL's audio thread, which renders the music
# (and mixes the few effects); the game's own cost is all threads less the
# audio thread. The music's floor is the synthesizer alone rendering the
# same music as fast as it can (blokit-music-floor, beside RUN_DIR).
# Memory comes from /proc/PID/status. The figures are shared-machine
# figures: the load average is printed with them.
# Needs xvfb-run, xdotool and xwininfo.

set -u
run_dir=$(realpath "$1")
repetitions=${2:-3}
seconds=${MEASURE_SECONDS:-12}

if [ -z "${BLOKIT_MEASURE_INSIDE_X:-}" ]; then
    export BLOKIT_MEASURE_INSIDE_X=1
    # Without -noreset the server resets whenever its last client leaves, and
    # drops a game that connects at that moment: one start in a few hundred.
    exec xvfb-run -a -s "-screen 0 640x480x24 -noreset" "$0" "$@"
fi

# shellcheck source=tests/e2e/game_session.sh
. "$(dirname "$0")/../tests/e2e/game_session.sh"
work=$(mktemp -d)
game_pid=
trap end_session EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

ticks_per_second=$(getconf CLK_TCK)
music_floor=$run_dir/../tools/music_floor/blokit-music-floor
now_us() { date +%s%6N; }

# Processor time of the whole process (or of its main thread) so far, in
# clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
main_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/task/$game_pid/stat"; }
audio_ticks() {
    local task ticks=0
    for task in /proc/"$game_pid"/task/*; do
        case $(cat "$task/comm" 2>/dev/null) in
        SDLAudio*) ticks=$((ticks + $(awk '{ print $14 + $15 }' "$task/stat"))) ;;
        esac
    done
    echo "$ticks"
}

memory_kib() { awk -v field="$1:" '$1 == field { print $2 }' "/proc/$game_pid/status"; }

# Holds key $1 for $2 seconds.
hold_key() {
    xdotool keydown "$1" 2>/dev/null
    sleep "$2"
    xdotool keyup "$1" 2>/dev/null
}

# Measures the next $seconds as phase $1 of repetition $2: one line
# "phase repetition cpu% rss_kib start_us end_us main_thread_cpu% audio_thread_cpu%"
# in $work/results.
measure() {
    start_phase
    sleep "$seconds"
    finish_phase "$1" "$2"
}

start_phase() {
    start_ticks=$(cpu_ticks)
    start_main=$(main_ticks)
    start_audio=$(audio_ticks)
    start_us=$(now_us)
}

finish_phase() {
    local end_ticks end_main end_audio end_us
    end_ticks=$(cpu_ticks)
    end_main=$(main_ticks)
    end_audio=$(audio_ticks)
    end_us=$(now_us)
    awk -v phase="$1" -v rep="$2" -v ticks=$((end_ticks - start_ticks)) \
        -v main=$((end_main - start_main)) -v audio=$((end_audio - start_audio)) \
        -v hz="$ticks_per_second" -v from="$start_us" -v to="$end_us" \
        -v rss="$(memory_kib VmRSS)" \
        'BEGIN { s = (to - from) / 1e6
                 printf "%s %d %.3f %d %s %s %.3f %.3f\n", phase, rep, 100 * ticks / hz / s, \
                        rss, from, to, 100 * main / hz / s, 100 * audio / hz / s }' \
        >>"$work/results"
}

# The game with a key press of 30 ms every 200 ms, left and right in turn.
measure_keys() {
    local end presses=0 key
    start_phase
    end=$((start_us + seconds * 1000000))
    while [ "$(now_us)" -lt "$end" ]; do
        if [ $((presses % 2)) = 0 ]; then key=Left; else key=Right; fi
        hold_key "$key" 0.03
        presses=$((presses + 1))
        sleep 0.17
    done
    finish_phase keys "$1"
    echo "$1 $presses" >>"$work/presses"
}

# Leaves the logo (or the high-score table) for the title screen with a
# short press of Space. The key must be up again before the title screen
# looks at the keys, or it starts a game at once; then Escape ends that game
# and the next attempt leaves the high-score table. A press too short for the
# program to see leaves everything as it was, and the next attempt repeats it.
reach_title() {
    local pressed presents
    for _ in 1 2 3 4 5 6; do
        pressed=$(now_us)
        xdotool keydown space sleep 0.005 keyup space 2>/dev/null
        sleep 1
        presents=$(awk -v t="$pressed" '$1 == "present" && $2 > t' "$work/trace$1" | wc -l)
        # The slide-in presents at the refresh rate; a game hardly at all.
        if [ "$presents" -gt 20 ]; then
            echo "$1 $pressed" >>"$work/title"
            return 0
        fi
        if [ "$presents" -gt 0 ]; then
            hold_key Escape 0.1
            sleep 2
        fi
    done
    fail "the title screen did not come"
}

# Runs the game once as repetition $1, as a new player in a home of its own.
run_once() {
    local rep=$1 home="$work/home$1" box answered
    mkdir -p "$home/config"
    for file in "$run_dir"/*.ONE "$run_dir"/*.MDS; do
        ln -sf "$file" "$home/"
    done
    (
        cd "$home" &&
            HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
                SDL_AUDIODRIVER=dummy BLOKIT_TRACE="$work/trace$rep" exec "$run_dir/blokit"
    ) >"$work/game$rep.log" 2>&1 &
    game_pid=$!

    box=$(find_window "QM-Blokit" 30) || fail "no credits box"
    answered=$(now_us)
    # No: a window, not the full screen.
    xdotool key --window "$box" Escape 2>/dev/null
    echo "$rep $answered" >>"$work/answered"
    find_window "QM - Blokit" 30 >/dev/null || fail "no game window"
    sleep 2
    every_screen "$rep"
    close_game || fail "the game did not end after its window was closed"
}

# From the logo: each screen in turn, as repetition $1.
every_screen() {
    measure logo "$1"
    reach_title "$1"
    sleep 2
    measure scroller "$1"
    hold_key 1 0.1
    sleep 1
    measure game "$1"
    measure_keys "$1"
    hold_key p 0.1
    sleep 1
    measure paused "$1"
    echo "$1 $(memory_kib VmHWM)" >>"$work/peak"
    hold_key p 0.1
    sleep 0.5
    hold_key m 0.1
    sleep 1
    measure muted "$1"
    hold_key m 0.1
    hold_key Escape 0.1
    sleep 2
    measure table "$1"
}

# min median max of the numbers on standard input (one per line).
spread() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "- - -"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.2f %.2f %.2f\n", v[1], m, v[NR] }'
}

# One line of the table: label $1, then min, median and max of the numbers
# on standard input.
row() {
    spread | awk -v label="$1" '{ printf "%-42s %8s %8s %8s\n", label, $1, $2, $3 }'
}

# Intervals in ms between successive present lines of trace $1 from $2 to $3 us.
present_intervals() {
    awk -v from="$2" -v to="$3" '$1 == "present" && $2 >= from && $2 <= to {
        if (last) printf "%.3f\n", ($2 - last) / 1000; last = $2 }' "$1"
}

report() {
    echo "Blokit, $repetitions runs of ${seconds} s per phase; load average before: $load_before," \
        "after: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
    printf '%-42s %8s %8s %8s\n' "phase" "min" "median" "max"
    local phase label
    for phase in logo scroller game keys paused muted table; do
        case $phase in
        logo) label="logo" ;;
        scroller) label="title scroller" ;;
        game) label="game, no keys" ;;
        keys) label="game, key every 200 ms" ;;
        paused) label="game paused" ;;
        muted) label="game, music off" ;;
        table) label="high-score table" ;;
        esac
        awk -v p="$phase" '$1 == p { print $3 }' "$work/results" | row "CPU % of one core: $label"
        awk -v p="$phase" '$1 == p { print $7 }' "$work/results" | row "  of which the main thread"
        awk -v p="$phase" '$1 == p { print $8 }' "$work/results" |
            row "  of which the audio thread (music)"
        awk -v p="$phase" '$1 == p { print $3 - $8 }' "$work/results" |
            row "  the game's own (all but the audio)"
    done
    awk '$1 == "game" { print $4 / 1024 }' "$work/results" | row "resident MiB, game with music"
    awk '{ print $2 / 1024 }' "$work/peak" | row "peak resident MiB (VmHWM)"
    music_report

    local rep answered first from to
    : >"$work/startup"
    : >"$work/ticks"
    : >"$work/slides"
    : >"$work/scrolls"
    : >"$work/seen"
    for rep in $(seq 1 "$repetitions"); do
        answered=$(awk -v r="$rep" '$1 == r { print $2 }' "$work/answered")
        first=$(awk -v t="$answered" '$1 == "present" && $4 == 1 && $2 > t { print $2; exit }' \
            "$work/trace$rep")
        [ -n "$first" ] && echo "$(((first - answered) / 1000))" >>"$work/startup"
        # Escape is looked at once in every tick of a running game.
        for phase in game keys; do
            read -r from to < <(awk -v p="$phase" -v r="$rep" '$1 == p && $2 == r { print $5, $6 }' \
                "$work/results")
            awk -v from="$from" -v to="$to" '$1 == "key" && $3 == 27 && $2 >= from && $2 <= to {
                if (last) printf "%.3f\n", ($2 - last) / 1000; last = $2 }' \
                "$work/trace$rep" >>"$work/ticks"
        done
        read -r from to < <(awk -v r="$rep" '$1 == "keys" && $2 == r { print $5, $6 }' \
            "$work/results")
        awk -v from="$from" -v to="$to" '$1 == "key" && ($3 == 37 || $3 == 39) &&
            $2 >= from && $2 <= to { if ($4 == 1 && !down[$3]) n++; down[$3] = $4 }
            END { print n + 0 }' "$work/trace$rep" >>"$work/seen"
        from=$(awk -v r="$rep" '$1 == r { print $2 }' "$work/title")
        present_intervals "$work/trace$rep" "$((from + 300000))" "$((from + 1000000))" \
            >>"$work/slides"
        read -r from to < <(awk -v r="$rep" '$1 == "scroller" && $2 == r { print $5, $6 }' \
            "$work/results")
        present_intervals "$work/trace$rep" "$from" "$to" >>"$work/scrolls"
    done
    row "ms from credits box to logo" <"$work/startup"
    row "ms between presents, slide-in" <"$work/slides"
    row "ms between presents, scroller" <"$work/scrolls"
    row "ms between game ticks" <"$work/ticks"
    awk '{ n++; s += $1; q += $1 * $1; if ($1 > 30) late++ } END {
        if (n) printf "ticks: %d, mean %.2f ms, standard deviation %.2f ms, %d over 30 ms\n",
            n, s / n, sqrt(q / n - (s / n) ^ 2), late }' "$work/ticks"
    echo "key presses of 30 ms: $(awk '{ s += $2 } END { print s }' "$work/presses") sent," \
        "$(awk '{ s += $1 } END { print s }' "$work/seen") seen by the game"
}

# The music's cost in a game beside its floor, the synthesizer alone
# rendering a minute of it as fast as it can, measured once a repetition.
music_report() {
    local rep
    [ -x "$music_floor" ] || {
        echo "no $music_floor: the music's floor is not measured"
        return
    }
    for rep in $(seq 1 "$repetitions"); do
        "$music_floor" 60 "$run_dir" | awk '$1 == "floor:" { print 100 * $2 }'
    done >"$work/floor"
    row "music's floor, % of one core" <"$work/floor"
    awk '$1 == "game" || $1 == "keys" { print $8 }' "$work/results" >"$work/music"
    awk -v floor="$(spread <"$work/floor" | cut -d' ' -f2)" '{ print $1 / floor }' \
        "$work/music" | row "music in a game, times the floor"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for rep in $(seq 1 "$repetitions"); do
    run_once "$rep"
done
report
