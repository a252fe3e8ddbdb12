#!/usr/bin/env bash
# blokit-music-round as the build and the package's install script run it:
# the round it makes is the build's own, byte for byte, and readable by every
# user; a data directory without the music and a wrong call fail, and leave
# nothing behind. Skipped (77) where the build made no round: no SoundFont.
#
#   run_music_round.sh TOOL RUN_DIR
set -u
tool=$1
run_dir=$2
[ -e "$run_dir/music-round" ] || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

"$tool" "$work/made/music-round" "$run_dir" || fail "no round made from $run_dir"
cmp "$work/made/music-round" "$run_dir/music-round" || fail "the round differs from the build's"
[ "$(stat -c %a "$work/made/music-round")" = 644 ] || fail "the round is not readable by all"
[ "$(ls -A "$work/made")" = music-round ] || fail "left beside the round: $(ls -A "$work/made")"

mkdir "$work/no_music"
"$tool" "$work/none/music-round" "$work/no_music"
[ $? = 1 ] || fail "a data directory without the music did not fail"
[ -z "$(ls -A "$work/none")" ] || fail "left behind: $(ls -A "$work/none")"

"$tool" "$work/made/music-round" 2>/dev/null
[ $? = 2 ] || fail "a call without the data directory was not refused"
exit $failed
