#!/usr/bin/env bash
# Starts the built manager under Xvfb against pyftpdlib on 127.0.0.52 holding
# three days of reports, searches, and saves a picture of the report window
# with its filled grid: build/screenshots/report-window.png. The data folder
# in the Wine prefix is emptied before and after.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export KESTRO_BIN="${KESTRO_BIN:-${KESTRO_BUILD_ROOT:-$top/build}/mingw/bin}"
export KESTRO_SHOTS="$top/build/screenshots"
mkdir -p "$KESTRO_SHOTS"
for f in kestroMgr.exe report_shot_helper.exe; do
  [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
done
if [ -z "${DISPLAY:-}" ]; then
  exec "$top/scripts/with-display.sh" "$0" "$@"
fi
work=$(mktemp -d /tmp/kestro-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
export work
/usr/bin/python3 "$top/tests/servers/run_with_server.py" --kind pyftpdlib --addr 127.0.0.52 --root "$work/root" -- \
  bash -c '
  data="$WINEPREFIX/drive_c/ProgramData/Veltrana/kestro"
  boxes="$work/boxes.txt"
  export KESTRO_MSGBOX_LOG="Z:${boxes//\//\\}"
  rm -rf "$data"
  mkdir -p "$data"
  cd "$KESTRO_BIN"
  status=0
  if wine report_shot_helper.exe show "Z:${work//\//\\}\\geometry.txt" >/dev/null 2>&1 </dev/null; then
    read -r w h x y < <(tr -d "\r" <"$work/geometry.txt")
    shot="$KESTRO_SHOTS/report-window.png"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" && echo "wrote $shot"
  else
    echo "the report window did not appear" >&2
    status=1
  fi
  wine report_shot_helper.exe end >/dev/null 2>&1 || true
  sleep 2
  rm -rf "$data"
  exit $status
'
