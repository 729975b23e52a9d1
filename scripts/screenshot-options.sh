#!/usr/bin/env bash
# Starts the built manager under Xvfb and saves a picture of its spreadsheet
# options form, filled as a picture workbook fills it:
# build/screenshots/options.png. The data folder in the Wine prefix is
# emptied before and after.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
shot_needs kestroMgr.exe options_shot_helper.exe
shot_run '
  shot_log_boxes
  shot_fresh_data
  printf "[KESTRO]\r\nSAVE=1\r\nSERVER=192.168.10.5\r\n[KESTROMGR]\r\nLASTTARGET=192.168.10.5\r\nLASTUSERID=営業部\r\n" |
    iconv -f UTF-8 -t CP932 >"$data/Kestro.ini"
  status=0
  shot_form kestroMgr.exe options_shot_helper.exe show options "the options form did not appear" || status=1
  rm -rf "$data" "$boxes"
  exit $status
'
