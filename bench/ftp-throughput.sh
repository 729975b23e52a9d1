#!/usr/bin/env bash
# Upload and download throughput of TTmxFtp (under Wine) and of curl against
# the same vsftpd on 127.0.0.90, for 1, 10 and 100 MB files; prints MB/s and
# the ratio ours/curl. Needs the mingw build (bench/ftp_bench.exe).
#   bench/ftp-throughput.sh [SIZES_MB...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec "$top/scripts/with-display.sh" "$0" "$@"
fi
. "$top/scripts/wine-env.sh"
exe=${BENCH_EXE:-$KESTRO_WIN_TREE/bin/ftp_bench.exe}
[ -f "$exe" ] || { echo "missing $exe: run scripts/build.sh" >&2; exit 1; }
sizes=${*:-1 10 100}
work=$(mktemp -d /tmp/kestro-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
for mb in $sizes; do
  head -c $((mb * 1024 * 1024)) /dev/urandom > "$work/bench_${mb}MB.bin"
done
export work sizes exe
/usr/bin/python3 "$top/tests/servers/run_with_server.py" --kind vsftpd --addr 127.0.0.90 --root "$work/root" -- \
  bash -c '
set -e
url="ftp://$KESTRO_TEST_FTP_HOST/kestro"
login="$KESTRO_TEST_FTP_USER:$KESTRO_TEST_FTP_PASS"
for mb in $sizes; do
  f="$work/bench_${mb}MB.bin"
  t=$(curl -s -S -u "$login" -w "%{time_total}" -T "$f" "$url/curl_${mb}MB.bin")
  echo "curl up $mb $t" >> "$work/results"
  t=$(curl -s -S -u "$login" -w "%{time_total}" -o "$f.curl" "$url/curl_${mb}MB.bin")
  cmp -s "$f" "$f.curl" || { echo "curl download differs" >&2; exit 1; }
  echo "curl down $mb $t" >> "$work/results"
  rm -f "$f.curl"
done
files=()
for mb in $sizes; do files+=("Z:$(echo "$work" | tr / "\\\\")\\bench_${mb}MB.bin"); done
"$KESTRO_WINE" "$exe" "$KESTRO_TEST_FTP_HOST" "$KESTRO_TEST_FTP_USER" "$KESTRO_TEST_FTP_PASS" kestro "${files[@]}" \
  | tr -d "\r" | while read -r dir name bytes ms; do
      mb=${name#bench_}; mb=${mb%MB.bin}
      echo "ours $dir $mb $(awk -v ms="$ms" "BEGIN { print ms / 1000 }")" >> "$work/results"
      cmp -s "$work/$name" "$KESTRO_TEST_FTP_ROOT/kestro/$name" || { echo "upload of $name differs" >&2; exit 1; }
    done
'
printf "%-6s %-9s %12s %12s %8s\n" size direction "ours MB/s" "curl MB/s" ratio
for mb in $sizes; do
  for dir in up down; do
    ours=$(awk -v d="$dir" -v m="$mb" '$1 == "ours" && $2 == d && $3 == m { print $4 }' "$work/results")
    curl=$(awk -v d="$dir" -v m="$mb" '$1 == "curl" && $2 == d && $3 == m { print $4 }' "$work/results")
    awk -v mb="$mb" -v d="$dir" -v o="$ours" -v c="$curl" 'BEGIN {
      if (o == "" || c == "") { printf "%-6s %-9s %12s %12s %8s\n", mb " MB", d, "failed", "", ""; exit }
      om = mb / o; cm = mb / c
      printf "%-6s %-9s %12.1f %12.1f %8.2f\n", mb " MB", d, om, cm, om / cm }'
  done
done
