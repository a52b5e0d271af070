#!/usr/bin/env bash
# Installs the Debian 12 packages that Velmora builds, runs and tests with.
# Run as root; packages already present are left as they are.
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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
