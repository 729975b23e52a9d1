#!/usr/bin/env bash
# Starts the built updater under Xvfb against a pyftpdlib server of its own
# (anonymous, 127.0.0.61) and saves its splash window while it works:
# build/screenshots/updater-splash.png. The updater's data folder in the Wine
# prefix is emptied before and after.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
bin="${KESTRO_BIN:-$KESTRO_WIN_TREE/bin}"
export KESTRO_SHOTS="$top/build/screenshots"
mkdir -p "$KESTRO_SHOTS"
[ -f "$bin/downloader.exe" ] || { echo "missing $bin/downloader.exe: run scripts/build.sh" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/prog" "$work/ftproot"
cp "$bin/downloader.exe" "$work/prog/"
printf '[DOWNLOADER]\r\nPROJECT=kestro\r\nIP=127.0.0.61\r\nEXE=\r\n' >"$work/prog/downloader.ini"
export KESTRO_WORK="$work"
"$top/scripts/with-display.sh" /usr/bin/python3 "$top/tests/servers/run_with_server.py" --kind pyftpdlib \
  --anonymous --addr 127.0.0.61 --root "$work/ftproot" -- bash -c '
  data="$WINEPREFIX/drive_c/ProgramData/Veltrana/downloader"
  rm -rf "$data"
  mkdir -p "$KESTRO_TEST_FTP_ROOT/download/kestro"
  echo readme >"$KESTRO_TEST_FTP_ROOT/download/kestro/readme.txt"
  export KESTRO_MSGBOX_LOG="Z:${KESTRO_WORK//\//\\}\\boxes.txt"
  cd "$KESTRO_WORK/prog"
  "$KESTRO_WINE" downloader.exe </dev/null >/dev/null 2>&1 &
  updater=$!
  status=1
  # The listing is done: the splash stays up for the 3-second pause.
  for _ in $(seq 150); do
    if grep -qa "DIR end" "$data"/syslog/FTP*.txt 2>/dev/null; then
      sleep 0.5
      shot="$KESTRO_SHOTS/updater-splash.png"
      import -window root -gravity center -crop 318x107+0+0 +repage "$shot" && echo "wrote $shot" && status=0
      break
    fi
    sleep 0.2
  done
  [ $status = 0 ] || echo "the updater never listed its folder" >&2
  wait "$updater" || true
  rm -rf "$data"
  exit $status
'
