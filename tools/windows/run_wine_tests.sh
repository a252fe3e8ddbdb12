#!/bin/bash
# Runs the Windows build of the headless tests under Wine, in a Wine prefix of
# its own. Extra arguments go to the test program (--gtest_filter=...).
# Usage: run_wine_tests.sh BLOKIT_TESTS_EXE [ARGUMENTS...]
set -u
program=$(realpath "$1")
shift
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
{ wineboot -i && wineserver -w; } >/dev/null 2>&1 ||
    { echo "FAIL: wine cannot make its prefix"; exit 1; }
cd "$work" || exit 1
wine "$program" --gtest_brief=1 "$@"
