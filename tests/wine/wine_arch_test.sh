#!/usr/bin/env bash
# ctest (native): which Windows build the Wine scripts pick. The i386 probe
# agrees with the 32-bit wineserver where that is installed; KESTRO_WINE_ARCH
# forces either path, each with its own tree, loader and prefix.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "wine_arch_test: $*" >&2; exit 1; }
picked() { env -u KESTRO_WINE_ARCH -u WINEPREFIX "$@" bash -c '. "$1/scripts/wine-env.sh"
  echo "$KESTRO_WINE_ARCH ${KESTRO_WIN_TREE#$1/} $KESTRO_WINE ${WINEPREFIX#$1/} $WINEARCH"' _ "$top"; }

detected=$(picked | cut -d' ' -f1)
if [ -x /usr/lib/wine/wineserver32 ]; then
  if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then want=32; else want=64; fi
  [ "$detected" = "$want" ] || fail "detected $detected-bit, but the 32-bit wineserver says $want"
fi
[ "$(picked KESTRO_WINE_ARCH=64)" = "64 build/mingw64 /usr/lib/wine/wine64 build/wine/prefix64 win64" ] ||
  fail "KESTRO_WINE_ARCH=64 picks: $(picked KESTRO_WINE_ARCH=64)"
[ "$(picked KESTRO_WINE_ARCH=32)" = "32 build/mingw wine build/wine/prefix win32" ] ||
  fail "KESTRO_WINE_ARCH=32 picks: $(picked KESTRO_WINE_ARCH=32)"
echo "wine_arch_test: this host runs the ${detected}-bit programs"
