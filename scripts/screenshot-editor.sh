#!/usr/bin/env bash
# Opens the picture editor on a capture of a sample window under Xvfb,
# applies each tool in turn and saves a picture of the screen after each
# step as build/screenshots/editor-NN-<step>.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
export KESTRO_BIN="${KESTRO_BIN:-$KESTRO_WIN_TREE/bin}"
export KESTRO_SHOTS="$top/build/screenshots"
[ -f "$KESTRO_BIN/editor_screenshots.exe" ] || { echo "missing $KESTRO_BIN/editor_screenshots.exe: run scripts/build.sh" >&2; exit 1; }
mkdir -p "$KESTRO_SHOTS"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KESTRO_WORK="$work"
"$top/scripts/with-display.sh" bash -c '"$KESTRO_WINE" "$KESTRO_BIN/editor_screenshots.exe" "$("$KESTRO_WINE" winepath -w "$KESTRO_WORK")" </dev/null'
count=0
for jpg in "$work"/editor-*.jpg; do
  [ -e "$jpg" ] || continue
  png="$KESTRO_SHOTS/$(basename "${jpg%.jpg}").png"
  convert "$jpg" "$png"
  echo "wrote $png"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no screenshots were taken" >&2; exit 1; }
