#!/usr/bin/env bash
# Cross-compiles the game and its headless tests for 64-bit Windows and puts
# the game with its data in a folder and a zip.
# Usage: build.sh DATA_DIR BUILD_DIR DIST_DIR
#   DATA_DIR   a native build's run directory (DATA.ONE, AUDIO.ONE, QMBLOKIT.MDS);
#              the icons that build made lie beside it, in icons/
#   BUILD_DIR  where the Windows build and the Windows libjpeg go
#   DIST_DIR   gets blokit-windows/ and blokit-windows.zip
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
data=$(realpath "$1")
build=$(realpath -m "$2")
dist=$(realpath -m "$3")
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake
jobs=${JOBS:-$(nproc)}

"$source_dir/tools/windows/libjpeg.sh" "$build/libjpeg-work" "$build/libjpeg" "$toolchain"

# The tests find the data by the path Wine gives Linux's root: drive Z:.
cmake -S "$source_dir" -B "$build/game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DBLOKIT_BENCH=OFF -DBLOKIT_DATA_DIR="Z:$data" \
  -DBLOKIT_WINDOWS_ICON="$data/../icons/blokit.ico" \
  -DJPEG_INCLUDE_DIR="$build/libjpeg/include" -DJPEG_LIBRARY="$build/libjpeg/lib/libjpeg.a"
cmake --build "$build/game" -j"$jobs" --target blokit blokit_tests blokit-foreground-switch

folder=$dist/blokit-windows
rm -rf "$folder" "$dist/blokit-windows.zip"
mkdir -p "$folder"
cp "$build/game/run/blokit.exe" "$folder/"
x86_64-w64-mingw32-strip "$folder/blokit.exe"
for file in DATA.ONE AUDIO.ONE QMBLOKIT.MDS; do
  cp "$data/$file" "$folder/"
done
# Windows readers expect CR LF line ends.
sed 's/$/\r/' "$source_dir/tools/windows/README.txt" > "$folder/README.txt"
sed 's/$/\r/' "$source_dir/LICENSE" > "$folder/LICENSE.txt"
(cd "$dist" && zip -qr blokit-windows.zip blokit-windows)

# Only DLLs that come with Windows itself.
echo "blokit.exe needs: $(x86_64-w64-mingw32-objdump -p "$folder/blokit.exe" |
  sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')"
