#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the client under
# Wine: on the user's display when there is one, otherwise under Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
exec "$top/scripts/with-display.sh" wine "$top/build/mingw/bin/Kestro.exe"
