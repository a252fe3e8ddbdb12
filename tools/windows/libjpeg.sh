#!/usr/bin/env bash
# Builds libjpeg-turbo for Windows from Debian's own source package with the
# mingw-w64 toolchain and installs it under PREFIX. The system's apt
# configuration is left alone: the source index lives in WORK. A finished
# PREFIX is kept, so running this again costs nothing.
# Usage: libjpeg.sh WORK PREFIX TOOLCHAIN_FILE
set -euo pipefail
work=$(realpath -m "$1")
prefix=$(realpath -m "$2")
toolchain=$(realpath "$3")

if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
  exit 0
fi
mkdir -p "$work/lists/partial" "$work/source"

# Debian's source index, from the same archive and keys as the binary one.
sources=$work/deb-src.sources
awk '/^URIs:/ && !uri { uri = $0 } /^Signed-By:/ && !key { key = $0 }
     END { print "Types: deb-src"; print uri; print "Suites: bookworm";
           print "Components: main"; print key }' \
  /etc/apt/sources.list.d/debian.sources > "$sources"
apt_options=(-o "Dir::Etc::sourcelist=$sources" -o Dir::Etc::sourceparts=-
             -o "Dir::State::Lists=$work/lists" -o APT::Sandbox::User=root)
apt-get "${apt_options[@]}" update
(cd "$work/source" && apt-get "${apt_options[@]}" source --download-only libjpeg-turbo)

# The upstream tarball holds the library's source; Debian's patches only touch packaging.
tarball=$(ls "$work"/source/libjpeg-turbo_*.orig.tar.gz | head -n 1)
rm -rf "$work/src" && mkdir -p "$work/src"
tar -xzf "$tarball" -C "$work/src" --strip-components=1

cmake -S "$work/src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=OFF
cmake --build "$work/build" -j"$(nproc)"
cmake --install "$work/build"
