#!/usr/bin/env bash
# Starts the built client under Xvfb once per layout, takes a capture of a
# window on the screen through SNAPTRAP.DLL and saves a picture of the
# registration form it opens: build/screenshots/registration-image.png
# (STYLE 1) and build/screenshots/registration-report.png (STYLE 0).
# The client's data folder in the Wine prefix is emptied before and after.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export KESTRO_BIN="${KESTRO_BIN:-$top/build/mingw/bin}"
export KESTRO_SHOTS="$top/build/screenshots"
mkdir -p "$KESTRO_SHOTS"
for f in Kestro.exe SNAPTRAP.DLL registration_shot_helper.exe; do
  [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
done
exec "$top/scripts/with-display.sh" bash -c '
  data="$WINEPREFIX/drive_c/ProgramData/Veltrana/kestro"
  boxes=$(mktemp)
  export KESTRO_MSGBOX_LOG="Z:${boxes//\//\\}" KESTRO_MSGBOX_REPLY=OK
  status=0
  for layout in image:1 report:0; do
    name=${layout%%:*}
    style=${layout##*:}
    rm -rf "$data"
    mkdir -p "$data"
    printf "[KESTRO]\r\nSTYLE=%s\r\nSHOW=1\r\nSAVE=0\r\nOPERATION=PC01\r\nPROJECT=営業部\r\n" "$style" |
      iconv -f UTF-8 -t CP932 >"$data/Kestro.ini"
    printf "営業部\r\n開発\r\n" | iconv -f UTF-8 -t CP932 >"$data/projectlist.txt"
    cd "$KESTRO_BIN"
    wine Kestro.exe </dev/null >/dev/null 2>&1 &
    client=$!
    if geometry=$(wine registration_shot_helper.exe capture | tr -d "\r"); then
      read -r w h x y <<<"$geometry"
      shot="$KESTRO_SHOTS/registration-$name.png"
      import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" && echo "wrote $shot"
    else
      echo "the registration form did not open ($name)" >&2
      status=1
    fi
    wine registration_shot_helper.exe end || true
    wait "$client" || true
  done
  rm -rf "$data" "$boxes"
  exit $status
'
