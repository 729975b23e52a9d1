#!/usr/bin/env bash
# Starts the built client under Xvfb once per layout, takes a capture of a
# window on the screen through SNAPTRAP.DLL and saves a picture of the
# registration form it opens: build/screenshots/registration-image.png
# (STYLE 1) and build/screenshots/registration-report.png (STYLE 0).
# The client's data folder in the Wine prefix is emptied before and after.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
shot_needs Kestro.exe SNAPTRAP.DLL registration_shot_helper.exe
shot_run '
  shot_log_boxes
  status=0
  for layout in image:1 report:0; do
    name=${layout%%:*}
    style=${layout##*:}
    shot_fresh_data
    printf "[KESTRO]\r\nSTYLE=%s\r\nSHOW=1\r\nSAVE=0\r\nOPERATION=PC01\r\nPROJECT=営業部\r\n" "$style" |
      iconv -f UTF-8 -t CP932 >"$data/Kestro.ini"
    printf "営業部\r\n開発\r\n" | iconv -f UTF-8 -t CP932 >"$data/projectlist.txt"
    shot_form Kestro.exe registration_shot_helper.exe capture "registration-$name" \
      "the registration form did not open ($name)" || status=1
  done
  rm -rf "$data" "$boxes"
  exit $status
'
