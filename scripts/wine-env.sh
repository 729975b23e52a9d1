# Sourced by the scripts that run the programs under Wine.
# The prefix lives in the build tree; LC_ALL makes the ANSI code page 932.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="${WINEPREFIX:-$top/build/wine/prefix}"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8
