#!/usr/bin/env bash
# Configures and builds the trees: build/native (portable code and its
# tests, with sanitizers), build/mingw (the 32-bit Windows programs, tests and
# packages) and, where the Windows tests run 64-bit programs (scripts/wine-arch.sh),
# build/mingw64 from the same sources.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
. "$top/scripts/wine-arch.sh"
# KESTRO_BUILD_ROOT lets a second tree build beside the default one.
root=${KESTRO_BUILD_ROOT:-$top/build}
if [ "${1:-}" != "--mingw-only" ]; then
  cmake -S "$top" -B "$root/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/native" -j"$jobs"
fi
if [ "${1:-}" != "--native-only" ]; then
  cmake -S "$top" -B "$root/mingw" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw-i686.cmake" >/dev/null
  cmake --build "$root/mingw" -j"$jobs"
  if [ "$KESTRO_WINE_ARCH" = 64 ]; then
    cmake -S "$top" -B "$root/mingw64" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw-x86_64.cmake" >/dev/null
    cmake --build "$root/mingw64" -j"$jobs"
  fi
fi
