#!/usr/bin/env bash
# ctest's emulator for the Windows test programs: runs one under Wine in the
# project's prefix, on the display and wineserver that the test run started.
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run the tests through scripts/with-display.sh" >&2
  exit 2
fi
# A test may be given a largest file size in KiB, which stands for a full disk.
[ -n "${KESTRO_TEST_FILE_LIMIT_KB:-}" ] && trap '' XFSZ && ulimit -f "$KESTRO_TEST_FILE_LIMIT_KB"
exec "$KESTRO_WINE" "$@"
