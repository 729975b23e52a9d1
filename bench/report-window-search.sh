#!/usr/bin/env bash
# Times the manager's search over 31 days of 1000 reports each (with their
# tag files) on pyftpdlib at 127.0.0.91: the first search, a second one, the
# redo (catalogue files only) and a narrowing. Needs the mingw build
# (kestroMgr.exe and report_window_bench.exe). Prints milliseconds per step.
#   bench/report-window-search.sh [REPORTS_PER_DAY]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec "$top/scripts/with-display.sh" "$0" "$@"
fi
. "$top/scripts/wine-env.sh"
bin=${KESTRO_BIN:-$KESTRO_WIN_TREE/bin}
for f in kestroMgr.exe report_window_bench.exe; do
  [ -f "$bin/$f" ] || { echo "missing $bin/$f: run scripts/build.sh" >&2; exit 1; }
done
export per_day=${1:-1000} bin
work=$(mktemp -d /tmp/kestro-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$top/tests/servers/run_with_server.py" --kind pyftpdlib --addr 127.0.0.91 --root "$work/root" -- \
  bash -c '
set -e
# The store as the client leaves it: reports and empty tag files whose
# names carry the comment in code page 932.
/usr/bin/python3 - "$KESTRO_TEST_FTP_ROOT/kestro" "$per_day" <<"PY"
import datetime, os, sys
store, per_day = sys.argv[1].encode(), int(sys.argv[2])
today = datetime.date.today()
for back in range(31):
    day = (today - datetime.timedelta(days=back)).strftime("%Y%m%d").encode()
    folder, tags = os.path.join(store, day), os.path.join(store, day + b"tag")
    os.makedirs(folder)
    os.makedirs(tags)
    for n in range(1, per_day + 1):
        project = b"PRJ%d_" % (n % 5) if n % 3 else b""
        base = b"%sPC%02d%s%02d%02d%02d%03d" % (project, n % 7, day, n // 3600 % 24, n // 60 % 60, n % 60, (n - 1) % 999 + 1)
        ext = b".xls" if n % 4 == 0 else b".jpg"
        with open(os.path.join(folder, base + ext), "wb") as f:
            f.write(b"x" * (n % 97))
        comment = ("確認%d" % n).encode("cp932")
        open(os.path.join(tags, base + b"_" + comment + b".tag"), "wb").close()
PY
cd "$bin"
"$KESTRO_WINE" report_window_bench.exe | tr -d "\r"
'
