#!/bin/bash
# Installs the built game into a temporary directory, as a package would under
# /usr, and plays the installed program end to end (run_blokit_e2e.sh).
#
# Usage: run_installed_e2e.sh BUILD_DIR [OUTPUT_DIR]

set -u
build_dir=$(realpath "$1")
destination=$(mktemp -d)
trap 'rm -rf "$destination"' EXIT

DESTDIR=$destination cmake --install "$build_dir" --prefix /usr >/dev/null ||
    { echo "FAIL: cmake --install"; exit 1; }
"$(dirname "$0")/run_blokit_e2e.sh" --installed "$destination/usr/bin/blokit" ${2:+"$2"}
