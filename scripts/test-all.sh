#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native
# unit tests (ASan/UBSan) and the Windows tests under Wine.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" || exit 1
"$top/scripts/build.sh" || exit 1
jobs=$(nproc)
status=0
echo "== native tests =="
ctest --test-dir "$top/build/native" -j"$jobs" --output-on-failure | tee "$top/build/native-ctest.log" || status=1
echo "== Windows tests under Wine =="
"$top/scripts/with-display.sh" ctest --test-dir "$top/build/mingw" -j"$jobs" --output-on-failure \
  | tee "$top/build/mingw-ctest.log" || status=1
for log in native mingw; do
  grep -E '^[0-9]+% tests passed' "$top/build/$log-ctest.log" | sed "s/^/$log: /"
done
# One closing line over both runs.
awk '/tests passed, [0-9]+ tests failed out of/ {
       for (i = 1; i <= NF; i++) if ($i == "out") total += $(i + 2);
       for (i = 1; i <= NF; i++) if ($i == "failed") failed += $(i - 2) }
     END { printf "%d passed, %d failed\n", total - failed, failed }' \
  "$top/build/native-ctest.log" "$top/build/mingw-ctest.log"
grep -q 'tests passed, 0 tests failed' "$top/build/native-ctest.log" || status=1
grep -q 'tests passed, 0 tests failed' "$top/build/mingw-ctest.log" || status=1
exit $status
