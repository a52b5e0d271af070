#!/usr/bin/env bash
# Installs the Debian 12 packages that Velmora builds, runs and tests with.
# Run as root; packages already present are left as they are.
#   scripts/install-deps.sh           the native build's packages
#   scripts/install-deps.sh aarch64   also ARM64 Linux's cross compiler, qemu and NLopt for arm64
#   scripts/install-deps.sh mingw     also MinGW-w64 and wine
#   scripts/install-deps.sh wasm      also emscripten, for the core in WebAssembly
#   scripts/install-deps.sh web       also Chromium and npm, for the web page and its tests
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqcustomplot-dev
  libgtest-dev libbenchmark-dev libmuparser-dev
  libnlopt-dev libnlopt-cxx-dev
  fonts-liberation xvfb xauth
  clang libclang-rt-14-dev valgrind
  pybind11-dev python3-dev python3-numpy python3-scipy python3-matplotlib python3-pytest python3-venv python3-setuptools python3-wheel
)

case "${1:-}" in
  "") ;;
  # NLopt for the target comes from Debian's arm64 archive beside the host's own packages.
  aarch64) packages+=(g++-aarch64-linux-gnu qemu-user-static libnlopt-dev:arm64) ;;
  # Debian has no NLopt for MinGW-w64: that tree is built without the peers.
  mingw) packages+=(g++-mingw-w64-x86-64-posix wine64) ;;
  wasm) packages+=(emscripten nodejs) ;;
  web)
    packages+=(emscripten nodejs chromium fonts-dejavu-core)
    # A Node.js from elsewhere brings its own npm, which Debian's would clash with.
    command -v npm >/dev/null || packages+=(npm)
    ;;
  *) echo "usage: scripts/install-deps.sh [aarch64|mingw|wasm|web]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  [[ ${1:-} == aarch64 ]] && dpkg --add-architecture arm64
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
