#!/usr/bin/env bash
# Starts the built client under Xvfb, pops its tray menu up and saves a
# picture of the screen to build/screenshots/tray-menu.png.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
shot_needs Kestro.exe tray_menu_poster.exe
shot_run '
  shot_start Kestro.exe
  status=0
  shot_screen tray_menu_poster.exe open tray-menu "the tray menu did not open" || status=1
  shot_end tray_menu_poster.exe
  exit $status
'
