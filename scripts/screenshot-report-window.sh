#!/usr/bin/env bash
# Starts the built manager under Xvfb against pyftpdlib on 127.0.0.52 holding
# three days of reports, searches, and saves a picture of the report window
# with its filled grid: build/screenshots/report-window.png. The data folder
# in the Wine prefix is emptied before and after.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
shot_needs kestroMgr.exe report_shot_helper.exe
shot_run '
  shot_log_boxes
  shot_fresh_data
  work=$(mktemp -d /tmp/kestro-shot.XXXXXX)
  export work
  status=0
  # The helper starts the manager itself, which outlives it: the place of
  # the window goes through a file rather than the helper'"'"'s output.
  /usr/bin/python3 "$shot_top/tests/servers/run_with_server.py" --kind pyftpdlib --addr 127.0.0.52 \
    --root "$work/root" -- bash -c '"'"'
    shown=0
    if "$KESTRO_WINE" report_shot_helper.exe show "Z:${work//\//\\}\\geometry.txt" >/dev/null 2>&1 </dev/null; then
      read -r w h x y < <(tr -d "\r" <"$work/geometry.txt")
      shot="$KESTRO_SHOTS/report-window.png"
      import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" && echo "wrote $shot"
    else
      echo "the report window did not appear" >&2
      shown=1
    fi
    "$KESTRO_WINE" report_shot_helper.exe end >/dev/null 2>&1 || true
    sleep 2
    exit $shown
  '"'"' || status=1
  rm -rf "$data" "$boxes" "$work"
  exit $status
'
