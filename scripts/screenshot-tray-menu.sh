#!/usr/bin/env bash
# Starts the built client under Xvfb, pops its tray menu up and saves a
# picture of the screen to build/screenshots/tray-menu.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export KESTRO_BIN="${KESTRO_BIN:-$top/build/mingw/bin}"
export KESTRO_SHOT="$top/build/screenshots/tray-menu.png"
mkdir -p "$(dirname "$KESTRO_SHOT")"
for f in Kestro.exe tray_menu_poster.exe; do
  [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
done
exec "$top/scripts/with-display.sh" bash -c '
  cd "$KESTRO_BIN"
  wine Kestro.exe </dev/null >/dev/null 2>&1 &
  client=$!
  status=0
  if wine tray_menu_poster.exe open; then
    sleep 1
    import -window root "$KESTRO_SHOT" && echo "wrote $KESTRO_SHOT"
  else
    echo "the tray menu did not open" >&2
    status=1
  fi
  wine tray_menu_poster.exe end || true
  wait "$client" || true
  exit $status
'
