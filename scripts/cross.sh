#!/usr/bin/env bash
# Cross-builds the Qt-free part (the libraries, velmora-run and their tests)
# for another platform, runs its tests there under an emulator, and compares
# velmora-run's hansen20 csv with the one of an x86-64 Linux build.
#   scripts/cross.sh aarch64   ARM64 Linux under qemu (tree build-aarch64/)
#   scripts/cross.sh mingw     Windows x86-64 under wine (tree build-mingw/)
# The x86-64 reference is built in build-host/ (velmora-run only, no Qt).
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  aarch64) packages=(g++-aarch64-linux-gnu qemu-user-static); toolchain=cmake/aarch64-linux-gnu.cmake ;;
  mingw) packages=(g++-mingw-w64-x86-64-posix wine64); toolchain=cmake/x86_64-w64-mingw32.cmake ;;
  *) echo "usage: scripts/cross.sh aarch64|mingw" >&2; exit 2 ;;
esac
target=$1
tree=build-$target

scripts/install-deps.sh
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
qt_free=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_WINDOW=OFF -DVELMORA_BENCH=OFF "${launcher[@]}")

cmake -S . -B build-host "${qt_free[@]}" >/dev/null
cmake --build build-host -j2 --target velmora-run
cmake -S . -B "$tree" "${qt_free[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$tree" -j2

if [[ $target == mingw ]]; then
  # One wine server for the whole run, so that each test starts in well under
  # a second instead of bringing wine up again.
  wineserver -p 2>/dev/null || /usr/lib/wine/wineserver -p
  trap 'wineserver -k 2>/dev/null || /usr/lib/wine/wineserver -k' EXIT
fi
ctest --test-dir "$tree" --output-on-failure -j2 --timeout 600

suite=(--suite data/hansen20.tsv --methods all --format csv)
build-host/cli/velmora-run "${suite[@]}" > "$tree/hansen20-host.csv"
if [[ $target == mingw ]]; then
  # Windows writes CRLF through stdout in text mode: every line must end so,
  # and the csv must be the Linux one once those line ends are LF again.
  WINEDEBUG=-all "$(command -v wine64 || echo /usr/lib/wine/wine64)" "$tree/cli/velmora-run.exe" "${suite[@]}" \
    > "$tree/hansen20-target.crlf.csv"
  if grep -q $'[^\r]$' "$tree/hansen20-target.crlf.csv"; then
    echo "velmora-run.exe wrote a line without CRLF" >&2; exit 1
  fi
  sed 's/\r$//' "$tree/hansen20-target.crlf.csv" > "$tree/hansen20-target.csv"
else
  qemu-aarch64-static -L /usr/aarch64-linux-gnu "$tree/cli/velmora-run" "${suite[@]}" > "$tree/hansen20-target.csv"
fi
cmp "$tree/hansen20-host.csv" "$tree/hansen20-target.csv"
echo "hansen20 csv: $target equals x86-64 Linux, byte for byte"
