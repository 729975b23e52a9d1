#!/usr/bin/env bash
# Installs the build and test tools from Debian packages and cross-builds
# libjpeg-turbo for mingw from Debian's source package. Safe to run again:
# what is already there is skipped.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
third="$top/build/third_party"
mkdir -p "$third"

need_root() { [ "$(id -u)" = 0 ] || { echo "setup.sh: run as root (apt-get)" >&2; exit 1; }; }

packages=(g++-mingw-w64-i686 wine wine32:i386 xvfb xauth locales fonts-ipafont
          cmake make g++ clang googletest libjpeg62-turbo-dev python3 python3-pyftpdlib
          vsftpd nasm dpkg-dev curl imagemagick x11-utils python3-xlwt python3-xlrd)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

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

# libjpeg-turbo for i686-w64-mingw32, static, with its SIMD code.
jpeg_prefix="$third/libjpeg-mingw"
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  src_list=/etc/apt/sources.list.d/kestro-deb-src.sources
  if [ ! -f "$src_list" ]; then
    need_root
    cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update
  fi
  work="$third/libjpeg-src"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source --download-only libjpeg-turbo && dpkg-source -x ./*.dsc src >/dev/null)
  cmake -S "$work/src" -B "$work/build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
    -DCMAKE_ASM_NASM_COMPILER=nasm -DREQUIRE_SIMD=ON > "$work/configure.log"
  cmake --build "$work/build" -j"$(nproc)" > "$work/build.log"
  cmake --install "$work/build" > /dev/null
  rm -rf "$work"
fi
echo "setup: ready"
