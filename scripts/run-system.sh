#!/usr/bin/env bash
# Runs the whole system on this PC: a local FTP report store (pyftpdlib on
# 127.0.0.1:21, root folder build/store/, kept across runs), the client
# Kestro.exe and the manager kestroMgr.exe under Wine, on the user's display
# when DISPLAY works, otherwise on a private Xvfb. Where this host cannot run
# 32-bit programs, their 64-bit build runs under wine64 (scripts/wine-env.sh).
#
#   scripts/run-system.sh [--store HOST [--user NAME] [--password TEXT]]
#
# --store: the programs use the FTP server HOST (a dotted IPv4 address) and
# no local store is started. On a first run (no Kestro.ini in the Wine
# prefix) the settings file is written for the store; settings that exist
# are never changed. Ctrl+C, or closing both programs, ends the programs and
# the store started here; the store's files stay.
#
# Sourced, the script only defines its set-up functions (the end-to-end test
# in tests/system/ sets the system up through them).

SYSTEM_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SYSTEM_STORE_USER=kestro
SYSTEM_STORE_PASSWORD=kestro-pass
SYSTEM_STORE_PID=

# The data folder that the client and the manager share in the prefix.
system_data_folder() { echo "$WINEPREFIX/drive_c/ProgramData/Veltrana/kestro"; }

# system_prepare_store ROOT: the store's root with the folders the programs
# expect: kestro/ (reports, tags, project list) and download/ (version-ups).
system_prepare_store() {
  mkdir -p "$1/kestro" "$1/download"
}

# Whether something answers on ADDR port 21.
system_port_taken() {
  /usr/bin/python3 - "$1" <<'PY'
import socket, sys
try:
    socket.create_connection((sys.argv[1], 21), timeout=0.5).close()
except OSError:
    sys.exit(1)
PY
}

# system_start_store ADDR ROOT LOG: pyftpdlib on ADDR:21 serving ROOT to one
# user, in a session of its own (Ctrl+C reaches it only through the stop).
system_start_store() {
  local addr=$1 root=$2 log=$3
  if system_port_taken "$addr"; then
    echo "run-system: something already listens on $addr:21; stop it, or use it with --store $addr" >&2
    return 1
  fi
  local n=${addr##*.}
  setsid /usr/bin/python3 "$SYSTEM_TOP/tests/servers/pyftpdlib_server.py" --addr "$addr" --root "$root" \
    --user "$SYSTEM_STORE_USER" --password "$SYSTEM_STORE_PASSWORD" \
    --passive-ports "$((40000 + n * 20))-$((40019 + n * 20))" </dev/null >"$log" 2>&1 &
  SYSTEM_STORE_PID=$!
  local _
  for _ in $(seq 150); do
    system_port_taken "$addr" && return 0
    kill -0 "$SYSTEM_STORE_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "run-system: the store on $addr:21 did not start:" >&2
  cat "$log" >&2
  system_stop_store
  return 1
}

system_stop_store() {
  [ -n "$SYSTEM_STORE_PID" ] || return 0
  kill -TERM -- "-$SYSTEM_STORE_PID" 2>/dev/null
  local _
  for _ in $(seq 50); do
    kill -0 "$SYSTEM_STORE_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL -- "-$SYSTEM_STORE_PID" 2>/dev/null
  wait "$SYSTEM_STORE_PID" 2>/dev/null
  SYSTEM_STORE_PID=
}

# The value of a key of section [KESTRO] ("" when absent).
system_ini_value() {
  tr -d '\r' <"$1" | awk -v key="$2" -F= '
    /^\[/ { section = toupper($0); next }
    section == "[KESTRO]" && toupper($1) == key { sub(/^[^=]*=/, ""); print; exit }'
}

# system_write_first_run_ini HOST USER PASSWORD: writes Kestro.ini for that
# store unless the file exists. The client posts there (image style, the
# registration form for each capture); the manager's login form offers the
# server and the user.
system_write_first_run_ini() {
  local host=$1 user=$2 password=$3
  local folder
  folder=$(system_data_folder)
  local ini="$folder/Kestro.ini"
  if [ -e "$ini" ]; then
    local server save
    server=$(system_ini_value "$ini" SERVER)
    save=$(system_ini_value "$ini" SAVE)
    echo "run-system: keeping the settings in $ini"
    if [ "$save" != 1 ] || [ "$server" != "$host" ]; then
      echo "run-system: they do not post to $host (SAVE=$save, SERVER=$server); delete the file" \
        "for first-run settings" >&2
    fi
    return 0
  fi
  mkdir -p "$folder" || return 1
  printf '%s\r\n' "[KESTRO]" "SAVE=1" "STYLE=1" "SHOW=1" "SERVER=$host" "USERID=$user" "PASSWD=$password" \
    "VALIDDAY=10" "[KESTROMGR]" "LASTTARGET=$host" "LASTUSERID=$user" >"$ini.new" &&
    mv "$ini.new" "$ini" || return 1
  echo "run-system: first-run settings written to $ini"
}

system_usage() {
  echo "usage: scripts/run-system.sh [--store HOST [--user NAME] [--password TEXT]]" >&2
  exit 2
}

system_main() {
  set -uo pipefail
  local store="" user=$SYSTEM_STORE_USER password=$SYSTEM_STORE_PASSWORD
  while [ $# -gt 0 ]; do
    case $1 in
      --store) [ $# -ge 2 ] || system_usage; store=$2; shift 2 ;;
      --user) [ $# -ge 2 ] || system_usage; user=$2; shift 2 ;;
      --password) [ $# -ge 2 ] || system_usage; password=$2; shift 2 ;;
      -h|--help) system_usage ;;
      *) echo "run-system: unknown argument $1" >&2; system_usage ;;
    esac
  done
  if [ -n "$store" ] && ! [[ $store =~ ^[0-9]{1,3}(\.[0-9]{1,3}){3}$ ]]; then
    echo "run-system: --store takes the store's IPv4 address, such as 192.168.0.10" >&2
    exit 2
  fi
  if [ -z "$store" ] && [ "$(id -u)" != 0 ]; then
    echo "run-system: the local store listens on port 21: run as root, or pass --store HOST" >&2
    exit 1
  fi
  local top=$SYSTEM_TOP
  "$top/scripts/setup.sh" || exit 1
  "$top/scripts/build.sh" || exit 1
  . "$top/scripts/wine-env.sh"
  . "$top/scripts/xvfb-start.sh"
  "$top/scripts/wine-prefix.sh" || exit 1
  local build=${KESTRO_BUILD_ROOT:-$top/build}
  local bin="$KESTRO_WIN_TREE/bin" root="$build/store"

  trap system_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if [ -z "$store" ]; then
    store=127.0.0.1
    system_prepare_store "$root" || exit 1
    system_start_store "$store" "$root" "$build/store.log" || exit 1
    echo "run-system: report store on $store:21, folder $root (log $build/store.log)"
  fi
  system_write_first_run_ini "$store" "$user" "$password" || exit 1

  start_xvfb || exit 1
  "$KESTRO_WINESERVER" -p
  # Wine's own background processes, detached from this terminal.
  "$KESTRO_WINE" cmd /c exit </dev/null >/dev/null 2>&1
  SYSTEM_WINE_STARTED=1
  # Each program in a session of its own: Ctrl+C reaches only this script,
  # which then ends them in order.
  (cd "$bin" && exec setsid "$KESTRO_WINE" ./Kestro.exe) &
  local client=$!
  (cd "$bin" && exec setsid "$KESTRO_WINE" ./kestroMgr.exe) &
  local manager=$!
  cat <<EOF
run-system: Kestro.exe (tray icon) and kestroMgr.exe run on display $DISPLAY.
  Manager login: server $store, user $user, password $password.
  Ctrl+C ends both programs and the store; closing both programs does too.
EOF
  wait "$client" "$manager"
}

system_cleanup() {
  trap - EXIT INT TERM
  if [ -n "${SYSTEM_WINE_STARTED:-}" ]; then
    # Ends every program of the prefix (the client wrote its settings at start).
    "$KESTRO_WINESERVER" -k 2>/dev/null
    timeout 30 "$KESTRO_WINESERVER" -w 2>/dev/null
    stop_xvfb
  fi
  if [ -n "$SYSTEM_STORE_PID" ]; then
    system_stop_store
    echo "run-system: store stopped; its files stay in ${KESTRO_BUILD_ROOT:-$SYSTEM_TOP/build}/store"
  fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  system_main "$@"
fi
