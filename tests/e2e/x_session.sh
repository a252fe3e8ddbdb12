# Helpers for driving a game program on an X server, sourced by the
# end-to-end scripts. They expect `game_pid` (the program), `out_dir` (where
# screenshots go) and a function `fail MESSAGE`.

# Waits up to $2 seconds for a top-level window whose name starts with $1 and
# prints its id.
find_window() {
    local name=$1 deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$name" | head -n 1 | awk '{print $1}')
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$game_pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

# Holds a key long enough for a program that polls the keyboard to see it.
press() {
    xdotool keydown "$1"
    sleep 0.1
    xdotool keyup "$1"
    sleep 0.3
}

# A screenshot of the whole screen, which must show a picture.
shot() {
    import -window root "$out_dir/$1.png" || fail "no screenshot $1"
    local colours
    colours=$(identify -format '%k' "$out_dir/$1.png")
    echo "screenshot $1: $colours colours"
    [ "$colours" -ge 16 ] || fail "screenshot $1 is blank ($colours colours)"
}
