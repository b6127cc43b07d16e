#!/usr/bin/env bash
# Installs everything the build, the tests and the program need on a Debian
# machine, then builds PCRE2 for both MinGW targets from Debian's source
# package. Safe to run again: each step is skipped when its result is there.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/.deps"

PACKAGES=(
  build-essential cmake ninja-build pkg-config dpkg-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 xvfb xdotool x11-utils imagemagick
  fp-utils nsis
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsqlite3-dev sqlite3 libpcre2-dev
  clang libclang-rt-14-dev python3
  cups printer-driver-cups-pdf poppler-utils fonts-liberation
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

install_packages() {
  local missing
  missing="$(missing_packages)"
  [ -z "$missing" ] && return 0
  echo "setup: installing:" $missing
  as_root apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $missing
}

# apt-get source needs a deb-src line; add one mirroring the configured suites.
ensure_deb_src() {
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null; then
    return 0
  fi
  local src=/etc/apt/sources.list.d/vellumio-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$src" >/dev/null
  else
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/vellumio-src.list >/dev/null
  fi
  as_root apt-get update -qq
}

fetch_pcre2_source() {
  if ls -d "$DEPS"/src/pcre2-*/ >/dev/null 2>&1; then return 0; fi
  ensure_deb_src
  mkdir -p "$DEPS/src"
  # The newest source version is tried first; a mirror that lacks it (the
  # security pool sometimes does) falls back to the older versions listed.
  local v
  for v in "" $(apt-cache showsrc pcre2 | sed -n 's/^Version: //p' | sort -rV); do
    if (cd "$DEPS/src" && apt-get source -qq "pcre2${v:+=$v}" >/dev/null 2>&1); then
      return 0
    fi
    rm -rf "$DEPS"/src/pcre2*
  done
  echo "setup: could not fetch the pcre2 source package" >&2
  return 1
}

build_pcre2_for() {
  local triplet="$1"
  local prefix="$DEPS/$triplet"
  [ -f "$prefix/lib/libpcre2-8.a" ] && return 0
  fetch_pcre2_source
  local srcdir
  srcdir="$(ls -d "$DEPS"/src/pcre2-*/ | head -n1)"
  local bdir="$DEPS/build-pcre2-$triplet"
  rm -rf "$bdir"
  cmake -S "$srcdir" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$triplet.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DPCRE2_BUILD_PCRE2_8=ON -DPCRE2_BUILD_PCRE2_16=OFF \
    -DPCRE2_BUILD_TESTS=OFF -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_SUPPORT_JIT=OFF \
    -DPCRE2_SUPPORT_UNICODE=ON >/dev/null
  cmake --build "$bdir" >/dev/null
  cmake --install "$bdir" >/dev/null
  rm -rf "$bdir"
  echo "setup: PCRE2 built for $triplet in $prefix"
}

install_packages
build_pcre2_for x86_64-w64-mingw32
build_pcre2_for i686-w64-mingw32
echo "setup: ready"
