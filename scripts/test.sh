#!/usr/bin/env bash
# Installs what is missing, builds Velmora and runs every test.
#   scripts/test.sh           release build, all tests
#   scripts/test.sh --asan    also a debug build under AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."

asan=0
for arg in "$@"; do
  case "$arg" in
    --asan) asan=1 ;;
    *) echo "usage: scripts/test.sh [--asan]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build --output-on-failure -j2

if ((asan)); then
  scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j2
fi
