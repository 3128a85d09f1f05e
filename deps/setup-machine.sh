#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Idempotent: a second run only checks and returns.
set -euo pipefail

packages=(
  mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  cmake ninja-build nasm make pkg-config autoconf automake libtool
  g++ googletest zlib1g-dev
  clang-14 libclang-rt-14-dev
  wine wine32 wine64
  xvfb xauth x11-apps
  imagemagick libvips-tools libtiff-tools libjpeg-turbo-progs pngcheck ghostscript liblcms2-utils liblcms2-dev libwmf-bin
  libimage-exiftool-perl
  python3 python3-numpy python3-scipy
  dpkg-dev devscripts
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

missing() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

have_deb_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

if ! have_deb_src; then
  # Source lines for the same release and mirrors as the binary lines.
  src=/etc/apt/sources.list.d/zir-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | "${sudo_cmd[@]}" tee "$src" >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/zir-deb-src.list >/dev/null
  fi
  need_update=1
fi

todo=$(missing)
if [ -n "$todo" ] || [ "$need_update" = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  todo=$(missing)
  if [ -n "$todo" ]; then
    # shellcheck disable=SC2086
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends $todo
  fi
fi
