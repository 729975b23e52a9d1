# Sourced: decides which Windows programs this host tests and runs.
# KESTRO_WINE_ARCH=32 where the host runs 32-bit Linux programs (the 32-bit
# Wine), otherwise 64 (wine64 and the 64-bit build). A value given beforehand
# is kept: KESTRO_WINE_ARCH=64 forces the 64-bit path. Where set-up could not
# install the 32-bit Wine packages, it leaves build/wine-arch-64 and the
# 64-bit path is taken as on a host without 32-bit support.

# True when a tiny i386 Linux program (it only calls exit(0)) runs here.
kestro_runs_i386() {
  local dir=${TMPDIR:-/tmp} probe status
  # In the build tree where there is one: /tmp may forbid running programs.
  [ -n "${top:-}" ] && mkdir -p "$top/build" 2>/dev/null && dir=$top/build
  probe=$(mktemp "$dir/i386-probe.XXXXXX") || return 1
  # ELF header, one PT_LOAD program header at 0x08048000, then
  # mov eax,1; xor ebx,ebx; int 0x80.
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >"$probe"
  printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
  printf '\270\1\0\0\0\61\333\315\200' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return $status
}

case ${KESTRO_WINE_ARCH:-} in
  32|64) ;;
  "") if [ ! -f "${top:-.}/build/wine-arch-64" ] && kestro_runs_i386; then KESTRO_WINE_ARCH=32; else KESTRO_WINE_ARCH=64; fi ;;
  *) echo "KESTRO_WINE_ARCH is 32 or 64, not $KESTRO_WINE_ARCH" >&2; KESTRO_WINE_ARCH=64 ;;
esac
export KESTRO_WINE_ARCH
