# shellcheck shell=bash
# Set-up shared by the screenshot scripts, sourced by each of them. Outside
# the display: shot_needs checks the built files, shot_run starts Xvfb and
# the prefix's wineserver and runs the script's text there, where these
# helpers are sourced again.
shot_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
top=$shot_top . "$shot_top/scripts/wine-env.sh"
export KESTRO_BIN="${KESTRO_BIN:-$KESTRO_WIN_TREE/bin}"
export KESTRO_SHOTS="$shot_top/build/screenshots"

# Ends the script unless every named file is built in KESTRO_BIN.
shot_needs() {
  mkdir -p "$KESTRO_SHOTS"
  local f
  for f in "$@"; do
    [ -f "$KESTRO_BIN/$f" ] || { echo "missing $KESTRO_BIN/$f: run scripts/build.sh" >&2; exit 1; }
  done
}

# Runs the script text under the display, in KESTRO_BIN, with these helpers.
shot_run() {
  exec "$shot_top/scripts/with-display.sh" bash -c ". \"$shot_top/scripts/screenshot-lib.sh\"
cd \"\$KESTRO_BIN\"
$1"
}

# The message boxes go to a temporary log (boxes) and are answered OK.
shot_log_boxes() {
  boxes=$(mktemp)
  export KESTRO_MSGBOX_LOG="Z:${boxes//\//\\}" KESTRO_MSGBOX_REPLY=OK
}

# Empties the programs' data folder in the prefix (data) and makes it anew.
shot_fresh_data() {
  data="$WINEPREFIX/drive_c/ProgramData/Veltrana/kestro"
  rm -rf "$data"
  mkdir -p "$data"
}

# Starts the program in the background (started holds its process).
shot_start() {
  "$KESTRO_WINE" "$1" </dev/null >/dev/null 2>&1 &
  started=$!
}

# shot_window HELPER VERB NAME MESSAGE: the helper brings the window up and
# prints its place "width height x y"; that part of the screen is saved as
# KESTRO_SHOTS/NAME.png. False, with the message, when it does not.
shot_window() {
  local geometry w h x y shot="$KESTRO_SHOTS/$3.png"
  if geometry=$("$KESTRO_WINE" "$1" "$2" | tr -d "\r"); then
    read -r w h x y <<<"$geometry"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" && echo "wrote $shot"
    return 0
  fi
  echo "$4" >&2
  return 1
}

# shot_screen HELPER VERB NAME MESSAGE: the same for the whole screen, a
# second after the helper has brought the window up.
shot_screen() {
  local shot="$KESTRO_SHOTS/$3.png"
  if "$KESTRO_WINE" "$1" "$2"; then
    sleep 1
    import -window root "$shot" && echo "wrote $shot"
    return 0
  fi
  echo "$4" >&2
  return 1
}

# Asks the helper to end the program and waits for the one started.
shot_end() {
  "$KESTRO_WINE" "$1" end || true
  wait "$started" || true
}

# shot_form PROGRAM HELPER VERB NAME MESSAGE: starts the program, saves the
# window that the helper brings up (shot_window) and ends the program
# through the helper. False when the window did not come.
shot_form() {
  local status=0
  shot_start "$1"
  shot_window "$2" "$3" "$4" "$5" || status=1
  shot_end "$2"
  return $status
}
