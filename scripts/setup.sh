#!/usr/bin/env bash
# Installs the build and test tools from Debian packages and cross-builds
# libjpeg-turbo for mingw from Debian's source package. Safe to run again:
# what is already there is skipped.
# The shipped programs are 32-bit. Where this host cannot run 32-bit Linux
# programs (or KESTRO_WINE_ARCH=64), the tests run 64-bit builds of them
# under wine64: that case needs wine64 and the x86_64 compilers instead of
# wine32.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
third="$top/build/third_party"
mkdir -p "$third"
given_arch=${KESTRO_WINE_ARCH:-}
. "$top/scripts/wine-arch.sh"
echo "setup: Windows tests run ${KESTRO_WINE_ARCH}-bit programs under Wine"

need_root() { [ "$(id -u)" = 0 ] || { echo "setup.sh: run as root (apt-get)" >&2; exit 1; }; }

base_packages=(g++-mingw-w64-i686 wine xvfb xauth locales fonts-ipafont
          cmake make g++ clang googletest libjpeg62-turbo-dev python3 python3-pyftpdlib
          vsftpd nasm dpkg-dev curl imagemagick x11-utils python3-xlwt python3-xlrd)
# missing_packages: those of this path that are not installed, into missing[].
missing_packages() {
  local p packages=("${base_packages[@]}")
  if [ "$KESTRO_WINE_ARCH" = 32 ]; then packages+=(wine32:i386); else packages+=(wine64 g++-mingw-w64-x86-64); fi
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
}
# install_missing: apt-get install of missing[]; an index that failed to
# update does not stop set-up by itself: the install decides.
updated=
install_missing() {
  [ ${#missing[@]} -gt 0 ] || return 0
  need_root
  if [ -z "$updated" ]; then
    apt-get update || echo "setup: apt-get update reported errors; going on with the indexes it has"
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

missing_packages
if [ "$KESTRO_WINE_ARCH" = 32 ] && [ ${#missing[@]} -gt 0 ]; then
  added_i386=
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root
    dpkg --add-architecture i386 && added_i386=1
  fi
  if ! install_missing; then
    echo "setup: the 32-bit Wine packages cannot be installed; the Windows tests and programs take the 64-bit path (wine64)"
    [ "$given_arch" != 32 ] || { echo "setup.sh: KESTRO_WINE_ARCH=32 needs them" >&2; exit 1; }
    # dpkg keeps the architecture while any i386 package is installed.
    if [ -n "$added_i386" ] && dpkg --remove-architecture i386 2>/dev/null; then
      apt-get update >/dev/null 2>&1 || true
    fi
    mkdir -p "$top/build" && : > "$top/build/wine-arch-64"
    KESTRO_WINE_ARCH=64
    missing_packages
  fi
fi
install_missing
# vsftpd is started by the tests with their own config, never as a service.
if command -v systemctl >/dev/null && systemctl is-active -q vsftpd 2>/dev/null; then
  systemctl stop vsftpd || true
fi
pkill -x vsftpd 2>/dev/null || true

# Japanese locale: under it Wine's ANSI code page is 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  need_root
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi

# libjpeg-turbo for mingw, static, with its SIMD code: for i686 (the shipped
# programs) and, on the 64-bit path, for x86_64 too.
jpeg_src=
fetch_jpeg_source() {
  [ -z "$jpeg_src" ] || return 0
  local src_list=/etc/apt/sources.list.d/kestro-deb-src.sources
  if [ ! -f "$src_list" ]; then
    need_root
    cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update || echo "setup: apt-get update reported errors; going on with the indexes it has"
  fi
  jpeg_src="$third/libjpeg-src"
  rm -rf "$jpeg_src" && mkdir -p "$jpeg_src"
  (cd "$jpeg_src" && apt-get source --download-only libjpeg-turbo && dpkg-source -x ./*.dsc src >/dev/null)
}
# build_jpeg TOOLCHAIN PREFIX
build_jpeg() {
  local prefix=$2 work
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  fetch_jpeg_source
  work="$jpeg_src/build-$(basename "$1" .cmake)"
  cmake -S "$jpeg_src/src" -B "$work" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$1" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
    -DCMAKE_ASM_NASM_COMPILER=nasm -DREQUIRE_SIMD=ON > "$work.configure.log"
  cmake --build "$work" -j"$(nproc)" > "$work.build.log"
  cmake --install "$work" > /dev/null
}
build_jpeg "$top/cmake/toolchain-mingw-i686.cmake" "$third/libjpeg-mingw"
if [ "$KESTRO_WINE_ARCH" = 64 ]; then
  build_jpeg "$top/cmake/toolchain-mingw-x86_64.cmake" "$third/libjpeg-mingw64"
fi
[ -z "$jpeg_src" ] || rm -rf "$jpeg_src"
echo "setup: ready; the Windows tests run ${KESTRO_WINE_ARCH}-bit programs under Wine"
