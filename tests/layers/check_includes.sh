#!/bin/sh
# Fails, naming the file and the include, when an include runs against the
# layers of the source tree (the README draws them):
#   app > game > res, audio > gfx > platform
# A folder includes only from its own layer and those below; of the two
# side by side, audio may use res but res never audio. Within platform, a
# backend (sdl, headless, win32) includes no other backend, and the shared
# pieces include none. Programs under tools/ never include from tests/.
# Usage: check_includes.sh SOURCE_ROOT
cd "${1:-.}" || exit 2

rank() {
    case $1 in
    platform) echo 0 ;;
    gfx) echo 1 ;;
    res | audio) echo 2 ;;
    game) echo 3 ;;
    app) echo 4 ;;
    *) echo - ;;
    esac
}

is_backend() {
    case $1 in
    sdl | headless | win32) return 0 ;;
    *) return 1 ;;
    esac
}

complain() {
    echo "include check: $1 includes \"$2\": $3"
}

# Every quoted include below the folders given, one "file<TAB>included" a line.
quoted_includes() {
    find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) | sort | while read -r file; do
        sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*|\1|p' "$file" |
            while read -r included; do printf '%s\t%s\n' "$file" "$included"; done
    done
}

check_platform() {
    from_part=$(echo "$1" | cut -d/ -f3)
    to_part=$(echo "$2" | cut -d/ -f2)
    [ -d "src/platform/$from_part" ] || from_part=
    [ -d "src/platform/$to_part" ] || return 0
    if [ "$to_part" != "$from_part" ] && is_backend "$to_part"; then
        complain "$1" "$2" "only the $to_part backend includes its own headers"
    fi
}

check_src() {
    from=$(echo "$1" | cut -d/ -f2)
    to=$(echo "$2" | cut -d/ -f1)
    from_rank=$(rank "$from")
    to_rank=$(rank "$to")
    if [ "$to_rank" = - ]; then
        [ -e "$(dirname "$1")/$2" ] || complain "$1" "$2" "not a file of src/"
    elif [ "$to_rank" -gt "$from_rank" ]; then
        complain "$1" "$2" "$from may not include from $to, a higher layer"
    elif [ "$to_rank" -eq "$from_rank" ] && [ "$from" != "$to" ] && [ "$from/$to" != audio/res ]; then
        complain "$1" "$2" "$from may not include from $to (of the two, only audio uses res)"
    elif [ "$from" = platform ]; then
        check_platform "$1" "$2"
    fi
}

check_tool() {
    if [ ! -e "$(dirname "$1")/$2" ] && [ ! -e "src/$2" ] && [ ! -e "tools/$2" ] &&
        [ -e "tests/$2" ]; then
        complain "$1" "$2" "tools may not include from tests"
    fi
}

tab=$(printf '\t')
faults=$(
    quoted_includes src | while IFS="$tab" read -r file included; do
        check_src "$file" "$included"
    done
    quoted_includes tools | while IFS="$tab" read -r file included; do
        check_tool "$file" "$included"
    done
)
if [ -n "$faults" ]; then
    echo "$faults" >&2
    exit 1
fi
echo "include check: every include follows the layers"
