#!/usr/bin/env bash
# Makes the Wine prefix once: a 32-bit prefix with font substitutes so that
# the Japanese UI fonts draw with the IPA fonts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
[ -f "$WINEPREFIX/.kestro-ready" ] && exit 0
rm -rf "$WINEPREFIX"; mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
reg=$(mktemp --suffix=.reg)
{
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
  printf '"%s"="IPAPGothic"\r\n' "ＭＳ Ｐゴシック" "MS UI Gothic" "MS PGothic" "MS Shell Dlg" "MS Shell Dlg 2"
  printf '"%s"="IPAGothic"\r\n' "ＭＳ ゴシック" "MS Gothic"
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
} | iconv -f UTF-8 -t CP932 > "$reg"
wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
wineserver -w
rm -f "$reg"
touch "$WINEPREFIX/.kestro-ready"
