#!/usr/bin/env bash
# Installs what is missing, builds the trees and runs every test: the native
# unit tests (ASan/UBSan) and the Windows tests under Wine. Where this host
# cannot run 32-bit programs (or KESTRO_WINE_ARCH=64), the Windows tests run
# the 64-bit build (build/mingw64) under wine64; the tests that need no Wine
# (the package checks) always use the shipped 32-bit tree (build/mingw).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" || exit 1
"$top/scripts/build.sh" || exit 1
. "$top/scripts/wine-arch.sh"
jobs=${KESTRO_TEST_JOBS:-$(nproc)}
build=$top/build

# run_ctest LOG ARGS...: ctest's output, also kept in build/LOG-ctest.log.
run_ctest() {
  local log=$build/$1-ctest.log
  shift
  rm -f "$log"
  "$@" -j"$jobs" --output-on-failure 2>&1 | tee "$log"
}

echo "== native tests =="
run_ctest native ctest --test-dir "$build/native"
if [ "$KESTRO_WINE_ARCH" = 64 ]; then
  windows_tree=$build/mingw64 windows_name="Windows tests (64-bit build under wine64)"
  echo "== tests of the 32-bit tree without Wine (package checks) =="
  run_ctest packages ctest --test-dir "$build/mingw" -LE wine
  windows_filter=(-L wine)
  logs="native:$build/native packages:$build/mingw:-LE:wine mingw64:$windows_tree:-L:wine"
else
  windows_tree=$build/mingw windows_name="Windows tests (32-bit programs under Wine)"
  windows_filter=()
  logs="native:$build/native mingw:$windows_tree"
fi
echo "== $windows_name =="
run_ctest "$(basename "$windows_tree")" "$top/scripts/with-display.sh" ctest --test-dir "$windows_tree" "${windows_filter[@]}"

# Counts what really ran. A run without ctest's summary did not finish: all
# of its tests count as failed, and the line says so.
status=0 passed=0 failed=0
for entry in $logs; do
  IFS=: read -r name tree filter <<<"$entry"
  log=$build/$name-ctest.log
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" 2>/dev/null | tail -n 1)
  case $name in
    native) label="native tests" ;;
    packages) label="tests without Wine (build/mingw)" ;;
    *) label=$windows_name ;;
  esac
  if [ -n "$summary" ]; then
    read -r f t <<<"$(awk '{ for (i = 1; i <= NF; i++) { if ($i == "failed") f = $(i - 2); if ($i == "out") t = $(i + 2) } }
                           END { print f, t }' <<<"$summary")"
    echo "$label: $((t - f)) of $t passed"
  else
    t=$(ctest --test-dir "$tree" -N ${filter:+${filter//:/ }} 2>/dev/null | sed -n 's/^Total Tests: //p')
    t=${t:-1} f=$t
    echo "$label: did not run; its $t tests count as failed (see $log)"
  fi
  [ "$f" = 0 ] || status=1
  passed=$((passed + t - f)) failed=$((failed + f))
done
echo "$passed passed, $failed failed"
exit $status
