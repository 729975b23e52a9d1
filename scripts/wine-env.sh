# Sourced by the scripts that run the programs under Wine: the one place that
# decides which Wine runs which build (scripts/wine-arch.sh).
#   32: the 32-bit programs (build/mingw) in a 32-bit prefix, Debian's wine;
#   64: the 64-bit build of them (build/mingw64) in a 64-bit prefix, wine64's
#       own loader and server (Debian's wine script picks wine32 when it is
#       installed).
# KESTRO_WINE and KESTRO_WINESERVER are the commands to call; KESTRO_WIN_TREE
# is the build tree whose programs run. The prefix lives in the build tree;
# LC_ALL makes the ANSI code page 932.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
. "$top/scripts/wine-arch.sh"
if [ "$KESTRO_WINE_ARCH" = 64 ]; then
  export KESTRO_WINE=/usr/lib/wine/wine64 KESTRO_WINESERVER=/usr/lib/wine/wineserver64
  export WINELOADER=$KESTRO_WINE WINESERVER=$KESTRO_WINESERVER
  export WINEPREFIX="${WINEPREFIX:-$top/build/wine/prefix64}"
  export WINEARCH=win64
  export KESTRO_WIN_TREE="${KESTRO_BUILD_ROOT:-$top/build}/mingw64"
else
  export KESTRO_WINE=wine KESTRO_WINESERVER=wineserver
  export WINEPREFIX="${WINEPREFIX:-$top/build/wine/prefix}"
  export WINEARCH=win32
  export KESTRO_WIN_TREE="${KESTRO_BUILD_ROOT:-$top/build}/mingw"
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8
