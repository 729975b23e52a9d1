#!/usr/bin/env bash
# Starts the built client under Xvfb with a local store of a few unposted
# reports, opens the list form from the tray menu, lists them and saves a
# picture of the screen to build/screenshots/list.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export KESTRO_BIN="${KESTRO_BIN:-$top/build/mingw/bin}"
export KESTRO_SHOT="$top/build/screenshots/list.png"
mkdir -p "$(dirname "$KESTRO_SHOT")"
for f in Kestro.exe list_shot_helper.exe; do
  [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
done
exec "$top/scripts/with-display.sh" bash -c '
  cd "$KESTRO_BIN"
  export KESTRO_MSGBOX_LOG="C:\\windows\\temp\\list_shot_boxes.txt"
  status=0
  if wine list_shot_helper.exe open; then
    sleep 1
    import -window root "$KESTRO_SHOT" && echo "wrote $KESTRO_SHOT"
  else
    echo "the list form did not open" >&2
    status=1
  fi
  wine list_shot_helper.exe end || true
  sleep 2
  exit $status
'
