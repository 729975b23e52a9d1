#!/usr/bin/env bash
# Makes the Wine prefix once (32-bit, or 64-bit where the tests run the
# 64-bit build: scripts/wine-env.sh) with font substitutes so that the
# Japanese UI fonts draw with the IPA fonts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
# The stand-in spreadsheet application XlStandIn.dll is registered as
# "Excel.Application" (regsvr32 stores the DLL's path); done again only when
# the prefix's registry does not name this DLL.
register_xlstandin() {
  local dll="$KESTRO_WIN_TREE/bin/XlStandIn.dll"
  [ -f "$dll" ] || return 0
  local escaped=${dll//\//\\\\}
  if grep -Fq "@=\"Z:$escaped\"" "$WINEPREFIX/system.reg" 2>/dev/null &&
     grep -Fq '@="{2A400C25-0C2D-4A33-B59E-EE8D76B01885}"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    return 0
  fi
  "$KESTRO_WINE" regsvr32 /s "$("$KESTRO_WINE" winepath -w "$dll")" >/dev/null 2>&1 ||
    echo "wine-prefix: XlStandIn.dll not registered" >&2
  timeout 60 "$KESTRO_WINESERVER" -w || true
}
if [ -f "$WINEPREFIX/.kestro-ready" ]; then register_xlstandin; exit 0; fi
rm -rf "$WINEPREFIX"; mkdir -p "$(dirname "$WINEPREFIX")"
"$KESTRO_WINE" wineboot -i >/dev/null 2>&1 || true
"$KESTRO_WINESERVER" -w
reg=$(mktemp --suffix=.reg)
{
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
  printf '"%s"="IPAPGothic"\r\n' "ＭＳ Ｐゴシック" "MS UI Gothic" "MS PGothic" "MS Shell Dlg" "MS Shell Dlg 2"
  printf '"%s"="IPAGothic"\r\n' "ＭＳ ゴシック" "MS Gothic"
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
} | iconv -f UTF-8 -t CP932 > "$reg"
"$KESTRO_WINE" regedit /S "$("$KESTRO_WINE" winepath -w "$reg")" >/dev/null 2>&1
"$KESTRO_WINESERVER" -w
rm -f "$reg"
touch "$WINEPREFIX/.kestro-ready"
register_xlstandin
