#!/usr/bin/env bash
# Configures and builds both trees: build/native (portable code and its
# tests, with sanitizers) and build/mingw (the Windows programs and tests).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
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
fi
