#!/usr/bin/env bash
# Starts the built client under Xvfb, opens its settings form through the
# tray icon with the focus in the terminal name, and saves a picture of the
# form to build/screenshots/settings.png. The client's data folder in the
# Wine prefix is emptied before and after.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export KESTRO_BIN="${KESTRO_BIN:-${KESTRO_BUILD_ROOT:-$top/build}/mingw/bin}"
export KESTRO_SHOT="$top/build/screenshots/settings.png"
mkdir -p "$(dirname "$KESTRO_SHOT")"
for f in Kestro.exe SNAPTRAP.DLL settings_shot_helper.exe; do
  [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
done
exec "$top/scripts/with-display.sh" bash -c '
  data="$WINEPREFIX/drive_c/ProgramData/Veltrana/kestro"
  boxes=$(mktemp)
  export KESTRO_MSGBOX_LOG="Z:${boxes//\//\\}" KESTRO_MSGBOX_REPLY=OK
  rm -rf "$data"
  mkdir -p "$data"
  printf "[KESTRO]\r\nSTYLE=1\r\nSHOW=1\r\nSAVE=1\r\nSERVER=127.0.0.1\r\nUSERID=kestro\r\nPASSWD=secret\r\nOPERATION=PC01\r\nPROJECT=営業部\r\nCRFLAG=1\r\nCRSTR=社外秘\r\nMASKCOLOR=1\r\nWAKUCOLOR=3\r\nMOJICOLOR=5\r\nYAJICOLOR=2\r\n" |
    iconv -f UTF-8 -t CP932 >"$data/Kestro.ini"
  printf "営業部\r\n開発\r\n" | iconv -f UTF-8 -t CP932 >"$data/projectlist.txt"
  cd "$KESTRO_BIN"
  wine Kestro.exe </dev/null >/dev/null 2>&1 &
  client=$!
  status=0
  if geometry=$(wine settings_shot_helper.exe open | tr -d "\r"); then
    read -r w h x y <<<"$geometry"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KESTRO_SHOT" && echo "wrote $KESTRO_SHOT"
  else
    echo "the settings form did not open" >&2
    status=1
  fi
  wine settings_shot_helper.exe end || true
  wait "$client" || true
  rm -rf "$data" "$boxes"
  exit $status
'
