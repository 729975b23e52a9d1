#!/usr/bin/env bash
# Starts the built client under Xvfb with a local store of a few unposted
# reports, opens the list form from the tray menu, lists them and saves a
# picture of the screen to build/screenshots/list.png.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
shot_needs Kestro.exe list_shot_helper.exe
shot_run '
  export KESTRO_MSGBOX_LOG="C:\\windows\\temp\\list_shot_boxes.txt"
  status=0
  shot_screen list_shot_helper.exe open list "the list form did not open" || status=1
  "$KESTRO_WINE" list_shot_helper.exe end || true
  sleep 2
  exit $status
'
