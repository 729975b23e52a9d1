#!/usr/bin/env bash
# Runs a command with one Xvfb display (unless a display works already) and
# one persistent wineserver for the project's prefix; stops both afterwards.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
. "$top/scripts/xvfb-start.sh"
"$top/scripts/wine-prefix.sh" || exit 1
start_xvfb || exit 1
"$KESTRO_WINESERVER" -p
# Wine's own background processes start with the first program; start them
# here, detached from any pipe that a test runner would wait on.
"$KESTRO_WINE" cmd /c exit </dev/null >/dev/null 2>&1
cleanup() { "$KESTRO_WINESERVER" -k 2>/dev/null; "$KESTRO_WINESERVER" -w 2>/dev/null; stop_xvfb; }
trap cleanup EXIT
"$@"
