#!/usr/bin/env bash
# Starts the built client under Xvfb, opens its settings form through the
# tray icon with the focus in the terminal name, and saves a picture of the
# form to build/screenshots/settings.png. The client's data folder in the
# Wine prefix is emptied before and after.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
shot_needs Kestro.exe SNAPTRAP.DLL settings_shot_helper.exe
shot_run '
  shot_log_boxes
  shot_fresh_data
  printf "[KESTRO]\r\nSTYLE=1\r\nSHOW=1\r\nSAVE=1\r\nSERVER=127.0.0.1\r\nUSERID=kestro\r\nPASSWD=secret\r\nOPERATION=PC01\r\nPROJECT=営業部\r\nCRFLAG=1\r\nCRSTR=社外秘\r\nMASKCOLOR=1\r\nWAKUCOLOR=3\r\nMOJICOLOR=5\r\nYAJICOLOR=2\r\n" |
    iconv -f UTF-8 -t CP932 >"$data/Kestro.ini"
  printf "営業部\r\n開発\r\n" | iconv -f UTF-8 -t CP932 >"$data/projectlist.txt"
  status=0
  shot_form Kestro.exe settings_shot_helper.exe open settings "the settings form did not open" || status=1
  rm -rf "$data" "$boxes"
  exit $status
'
