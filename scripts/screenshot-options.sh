#!/usr/bin/env bash
# Starts the built manager under Xvfb and saves a picture of its spreadsheet
# options form, filled as a picture workbook fills it:
# build/screenshots/options.png. The data folder in the Wine prefix is
# emptied before and after.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export KESTRO_BIN="${KESTRO_BIN:-${KESTRO_BUILD_ROOT:-$top/build}/mingw/bin}"
export KESTRO_SHOTS="$top/build/screenshots"
mkdir -p "$KESTRO_SHOTS"
for f in kestroMgr.exe options_shot_helper.exe; do
  [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
done
exec "$top/scripts/with-display.sh" bash -c '
  data="$WINEPREFIX/drive_c/ProgramData/Veltrana/kestro"
  boxes=$(mktemp)
  export KESTRO_MSGBOX_LOG="Z:${boxes//\//\\}" KESTRO_MSGBOX_REPLY=OK
  rm -rf "$data"
  mkdir -p "$data"
  printf "[KESTRO]\r\nSAVE=1\r\nSERVER=192.168.10.5\r\n[KESTROMGR]\r\nLASTTARGET=192.168.10.5\r\nLASTUSERID=営業部\r\n" |
    iconv -f UTF-8 -t CP932 >"$data/Kestro.ini"
  cd "$KESTRO_BIN"
  wine kestroMgr.exe </dev/null >/dev/null 2>&1 &
  manager=$!
  status=0
  if geometry=$(wine options_shot_helper.exe show | tr -d "\r"); then
    read -r w h x y <<<"$geometry"
    shot="$KESTRO_SHOTS/options.png"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" && echo "wrote $shot"
  else
    echo "the options form did not appear" >&2
    status=1
  fi
  wine options_shot_helper.exe end || true
  wait "$manager" || true
  rm -rf "$data" "$boxes"
  exit $status
'
