#!/usr/bin/env bash
# Runs the manager's list and picture workbook test under Wine and keeps a
# text dump of every workbook it writes: build/screenshots/*.xls.txt (the
# stand-in spreadsheet's workbook format, UTF-8).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${KESTRO_BUILD_ROOT:-$top/build}/mingw"
shots="$top/build/screenshots"
mkdir -p "$shots"
[ -f "$build/bin/xls_output_wine_test.exe" ] || { echo "missing $build/bin/xls_output_wine_test.exe: run scripts/build.sh" >&2; exit 1; }
export KESTRO_WORKBOOK_DUMP="Z:${shots//\//\\}"
"$top/scripts/with-display.sh" ctest --test-dir "$build" -R '^xls_output_wine_test$' --output-on-failure
ls -1 "$shots"/*.xls.txt
