#!/usr/bin/env bash
# Cross-builds the Qt-free part (the libraries, velmora-run and their tests)
# for another platform, runs its tests there under an emulator, and compares
# velmora-run's hansen20 csv with the one of an x86-64 Linux build.
#   scripts/cross.sh aarch64   ARM64 Linux under qemu (tree build-aarch64/), with NLopt's peers
#   scripts/cross.sh mingw     Windows x86-64 under wine (tree build-mingw/), without them:
#                              Debian has no NLopt for MinGW-w64
# The x86-64 reference is the velmora-run of build-host/ (no Qt). The time of
# each stage is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  aarch64) toolchain=cmake/aarch64-linux-gnu.cmake; peers=ON ;;
  mingw) toolchain=cmake/x86_64-w64-mingw32.cmake; peers=OFF ;;
  *) echo "usage: scripts/cross.sh aarch64|mingw" >&2; exit 2 ;;
esac
target=$1
tree=build-$target

stage_start=$SECONDS
stage() {
  echo "cross.sh $target: $1 took $((SECONDS - stage_start)) s"
  stage_start=$SECONDS
}

scripts/install-deps.sh "$target"
stage "installing packages"

qt_free=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_WINDOW=OFF -DVELMORA_BENCH=OFF -DVELMORA_PYTHON=OFF)
cmake -S . -B build-host "${qt_free[@]}" >/dev/null
cmake --build build-host --target velmora-run
stage "the x86-64 velmora-run"
cmake -S . -B "$tree" "${qt_free[@]}" -DVELMORA_PEERS=$peers -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$tree"
stage "the $target build"

if [[ $target == mingw ]]; then
  # Debian's wine64 keeps wine64 and wineserver in /usr/lib/wine.
  export PATH=/usr/lib/wine:$PATH
  # A prefix of the run's own, made anew each time: wine's default one in ~
  # exists only where an earlier run happened to leave it, and the server
  # cannot start without its folder.
  export WINEPREFIX=$PWD/$tree/wine-prefix
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # One wine server for the whole run, and wine's own services started now
  # with no output: started by a test, they would keep its output pipe open
  # and the test would never end.
  wineserver -p
  trap 'wineserver -k' EXIT
  WINEDEBUG=-all wine64 wineboot </dev/null >/dev/null 2>&1
  run_target() { WINEDEBUG=-all wine64 "$tree/cli/velmora-run.exe" "$@"; }
else
  run_target() { cmake/qemu-emulator.sh "$tree/cli/velmora-run" "$@"; }
fi

ctest --test-dir "$tree" --output-on-failure -j2 --timeout 600
stage "the tests under the emulator"

# The seconds a run took are the one field that differs from run to run: they
# are masked on both sides, and every other byte is compared.
without_seconds() { awk -F, -v OFS=, 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == "seconds") s = i } s { $s = "-" } 1'; }
# Debian's arm64 NLopt is compiled with fused multiply-adds (GCC's default
# there), so the peers' numbers move: their rows and messages are left out
# of that comparison, and counted.
without_peers() { grep -v -e '^[^,]*,nlopt-' -e ', nlopt-' || true; }
# On Windows sin, cos and tan are Velmora's own, correctly rounded; where
# glibc's last bit is wrong, the runs move. With 1000 steps problem 7 meets
# sin(5.199778370147077), -0x1.c461c6a4b29d5p-1 on Windows and
# -0x1.c461c6a4b29d6p-1 with glibc, and problem 20 exp(-0x1.6da8733afdceep+0),
# where MinGW-w64's exp is right and glibc's is not. Those rows and the means
# are left out of that comparison, and counted.
without_rows() { if [[ -n ${1:-} ]]; then grep -v -E "$1" || true; else cat; fi; }

# compare NAME HOST_METHODS TARGET_METHODS MOVED_ON_WINDOWS [OPTION...]: one
# hansen20 run on each side; the csv, the messages on stderr and the exit
# status must agree, the rows MOVED_ON_WINDOWS matches (if any) aside there.
compare() {
  local name=$1 host_methods=$2 target_methods=$3 moved=$4
  shift 4
  local out=$tree/hansen20-$name host_status=0 target_status=0 rows=cat
  build-host/cli/velmora-run --suite data/hansen20.tsv --methods "$host_methods" "$@" --format csv \
    >"$out-host.csv" 2>"$out-host.err" || host_status=$?
  run_target --suite data/hansen20.tsv --methods "$target_methods" "$@" --format csv \
    >"$out-target.csv" 2>"$out-target.err" || target_status=$?
  if [[ $target == mingw ]]; then
    # Windows programs end their lines with CRLF, velmora-run.exe too (stdout
    # and stderr in text mode): every line must end so, and the csv must be the
    # Linux one once those line ends are LF again.
    if grep -q $'[^\r]$' "$out-target.csv"; then
      echo "velmora-run.exe wrote a csv line that does not end in CRLF" >&2
      return 1
    fi
    sed -i 's/\r$//' "$out-target.csv" "$out-target.err"
    if [[ -n $moved ]]; then
      echo "hansen20 $name: $(diff <(without_seconds <"$out-host.csv") <(without_seconds <"$out-target.csv") | grep -c -E "^> ${moved#^}" || true)" \
           "rows differ on $target where glibc misrounds, and are left out ($moved)"
    fi
    rows="without_rows $moved"
  else
    echo "hansen20 $name: $(diff <(without_seconds <"$out-host.csv") <(without_seconds <"$out-target.csv") | grep -c '^> [^,]*,nlopt-' || true) of" \
         "$(grep -c '^[^,]*,nlopt-' "$out-host.csv") rows of NLopt's peers differ on $target"
    rows=without_peers
  fi
  diff <($rows <"$out-host.csv" | without_seconds) <($rows <"$out-target.csv" | without_seconds)
  diff <($rows <"$out-host.err") <($rows <"$out-target.err")
  if [[ $host_status != "$target_status" ]]; then
    # A fault of NLopt's alone (status 3) may come on one side only, as its
    # numbers move; every other message was compared above.
    if [[ $rows != without_peers ]] || ! grep -q ', nlopt-' "$out-host.err" "$out-target.err" ||
       [[ "$host_status$target_status" != 03 && "$host_status$target_status" != 30 ]]; then
      echo "exit status $host_status on x86-64, $target_status on $target" >&2
      return 1
    fi
    echo "hansen20 $name: exit status $host_status on x86-64, $target_status on $target, from NLopt's faults alone"
  fi
  echo "hansen20 $name: $target equals x86-64 Linux ($(wc -l <"$out-host.csv") lines, exit status $host_status)"
}

# Velmora's own methods with the literature's stop rule; NLopt's peers take
# only a budget of steps, so "all" runs once more with one. A tree without the
# peers has Velmora's own methods as "all". The list is the catalogue's, as
# --help names it, without NLopt's.
own=$(build-host/cli/velmora-run --help | sed -n '/^METHOD is/,/;/p' | tr '\n' ' ' |
  sed 's/^METHOD is //; s/;.*//; s/ or /, /' | tr -d ' ' | tr ',' '\n' | grep -v '^nlopt-' | paste -sd,)
compare own-methods "$own" "$own" ''
if [[ $peers == ON ]]; then
  compare all-steps all all '' --steps 1000
else
  compare all-steps "$own" all '^(7|20|mean),' --steps 1000
fi
stage "the csv comparisons"
