#!/usr/bin/env bash
# ctest: the whole system set up by scripts/run-system.sh's own functions,
# with the store on 127.0.0.39 and its root in the build tree:
#   system_wine_test.sh TEST_PROGRAM STORE_ROOT
# Writes the first-run settings into the prefix's data folder, starts the
# store, runs the Windows test program under Wine against it, and then
# checks that settings that exist are kept and that the store's files stay
# when the store stops.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/wine-env.sh"
. "$top/scripts/run-system.sh"
program=$1 root=$2 addr=${KESTRO_TEST_NET:-127.0.0}.39

fail() { echo "system_wine_test: $*" >&2; exit 1; }
data=$(system_data_folder)
rm -rf "$root" "$data"
system_prepare_store "$root" || fail "no store folder"
system_write_first_run_ini "$addr" "$SYSTEM_STORE_USER" "$SYSTEM_STORE_PASSWORD" || fail "no settings written"
trap 'system_stop_store; rm -rf "$data"' EXIT
system_start_store "$addr" "$root" "$root.log" || exit 1

KESTRO_TEST_FTP_HOST=$addr KESTRO_TEST_FTP_USER=$SYSTEM_STORE_USER KESTRO_TEST_FTP_PASS=$SYSTEM_STORE_PASSWORD \
  KESTRO_TEST_FTP_ROOT=$root KESTRO_TEST_FTP_KIND=pyftpdlib "$top/tests/wine/wine-run.sh" "$program"
status=$?

# The programs have rewritten the settings: a second first run keeps them.
before=$(md5sum <"$data/Kestro.ini")
system_write_first_run_ini "$addr" other other-pass >/dev/null 2>&1
[ "$(md5sum <"$data/Kestro.ini")" = "$before" ] || fail "existing settings were overwritten"
grep -q '^LASTUSERID=kestro' "$data/Kestro.ini" || fail "the manager's settings are gone"
system_stop_store
compgen -G "$root/kestro/*tag/*_checked.tag" >/dev/null || [ $status != 0 ] || fail "the store's files are gone"
exit $status
