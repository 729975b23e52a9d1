#!/usr/bin/env bash
# Starts the built comment editor noteLens.exe under Xvfb with a comment, as
# the manager starts it, and saves a picture of its window:
# build/screenshots/notelens.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
export KESTRO_BIN="${KESTRO_BIN:-$KESTRO_WIN_TREE/bin}"
export KESTRO_SHOTS="$top/build/screenshots"
mkdir -p "$KESTRO_SHOTS"
[ -f "$KESTRO_BIN/noteLens.exe" ] || { echo "missing $KESTRO_BIN/noteLens.exe: run scripts/build.sh" >&2; exit 1; }
exec "$top/scripts/with-display.sh" bash -c '
  work=$(mktemp -d)
  cd "$work"
  # Two words, so that the command tail is not quoted, as the manager writes it.
  "$KESTRO_WINE" "$KESTRO_BIN/noteLens.exe" 要確認 画面の表示が崩れる </dev/null >/dev/null 2>&1 &
  editor=$!
  status=1
  for _ in $(seq 1 100); do
    if geometry=$(xwininfo -name "タグ情報" 2>/dev/null); then status=0; break; fi
    sleep 0.2
  done
  if [ $status -eq 0 ]; then
    sleep 1
    geometry=$(xwininfo -name "タグ情報")
    x=$(awk "/Absolute upper-left X/ {print \$4}" <<<"$geometry")
    y=$(awk "/Absolute upper-left Y/ {print \$4}" <<<"$geometry")
    w=$(awk "/Width:/ {print \$2}" <<<"$geometry")
    h=$(awk "/Height:/ {print \$2}" <<<"$geometry")
    shot="$KESTRO_SHOTS/notelens.png"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" && echo "wrote $shot"
  else
    echo "the noteLens window did not appear" >&2
  fi
  kill "$editor" 2>/dev/null || true
  wait "$editor" 2>/dev/null || true
  rm -rf "$work"
  exit $status
'
