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
# On Windows sin, cos and tan are Velmora's own, correctly rounded, and exp,
# log and the rest MinGW-w64's: where the two C libraries' last bits differ, F
# differs, and a run that meets such a point moves. Near a minimum, where the
# trials' values agree to the last bits, one bit changes the next choice. Each
# row that differs is run again alone on both sides with its step records,
# and is left aside only if the two runs part first at F's value at one and
# the same point; a row whose runs part anywhere else fails the comparison.
# The means of a method with such a row are left aside with it.
parts_at_a_value() {
  local id=$1 method=$2 param=$3 formula a b
  shift 3
  IFS=$'\t' read -r _ formula a b _ < <(awk -F'\t' -v id="$id" '$1 == id' data/hansen20.tsv)
  local run=("$formula" --interval "$a" "$b" --method "$method") steps=0
  # The test set's options but its methods' parameters, which the row gives;
  # without a budget of steps, the test set's rule: the interval rule with
  # eps = 1e-4 (b - a), computed as the test set computes it.
  while (($#)); do
    if [[ $1 == --param-* ]]; then shift 2; else [[ $1 == --steps ]] && steps=1; run+=("$1"); shift; fi
  done
  if ((!steps)); then run+=(--interval-eps "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.17g", 1e-4 * (b - a) }')"); fi
  if [[ -n $param ]]; then run+=(--param "$param"); fi
  rm -f "$tree/steps-host.csv" "$tree/steps-target.csv"
  build-host/cli/velmora-run "${run[@]}" --steps-out "$tree/steps-host.csv" >/dev/null 2>&1 || true
  run_target "${run[@]}" --steps-out "$tree/steps-target.csv" >/dev/null 2>&1 || true
  [[ -s $tree/steps-host.csv && -s $tree/steps-target.csv ]] || return 1
  sed -i 's/\r$//' "$tree/steps-target.csv"
  awk -F, 'NR == FNR { host[FNR] = $0; next }
           FNR == 1 { for (i = 1; i <= NF; ++i) if ($i == "f") f = i }
           $0 != host[FNR] {
             n = split(host[FNR], h, ",")
             parted = n >= f && h[f] != $f
             for (i = 1; i < f; ++i) if (h[i] != $i) parted = 0
             exit
           }
           END { exit !parted }' "$tree/steps-host.csv" "$tree/steps-target.csv"
}
# moved_rows HOST.csv TARGET.csv [OPTION...]: the id and method of each row
# that moved as above, and of its method's means; fails on a row that moved
# for another reason.
moved_rows() {
  local host=$1 target=$2 id method param differing
  shift 2
  differing=$(diff <(without_seconds <"$host") <(without_seconds <"$target") | sed -n 's/^< //p' | cut -d, -f1-3 || true)
  while IFS=, read -r id method param; do
    [[ -z $id || $id == mean ]] && continue
    if ! parts_at_a_value "$id" "$method" "$param" "$@"; then
      echo "hansen20 problem $id, $method: the runs part elsewhere than at a value of F" >&2
      return 1
    fi
    echo "$id,$method"
    echo "mean,$method"
  done <<<"$differing"
}
# without_keys FILE: the csv without the rows whose id and method FILE lists.
without_keys() { awk -F, -v keys="$1" 'BEGIN { while ((getline k <keys) > 0) skip[k] = 1 } !(($1 "," $2) in skip)'; }

# compare NAME HOST_METHODS TARGET_METHODS [OPTION...]: one hansen20 run on
# each side; the csv, the messages on stderr and the exit status must agree,
# on Windows with the rows moved by the C libraries aside.
compare() {
  local name=$1 host_methods=$2 target_methods=$3
  shift 3
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
    moved_rows "$out-host.csv" "$out-target.csv" "$@" | sort -u >"$out-moved"
    echo "hansen20 $name: $(grep -vc '^mean,' "$out-moved" || true) rows differ on $target where the C libraries' last bits" \
         "differ, and are left aside with their methods' means: $(grep -v '^mean,' "$out-moved" | paste -sd' ')"
    rows="without_keys $out-moved"
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
# peers runs Velmora's own methods instead. The list is the catalogue's, as
# --help names it, without NLopt's.
own=$(build-host/cli/velmora-run --help | sed -n '/^METHOD is/,/;/p' | tr '\n' ' ' |
  sed 's/^METHOD is //; s/;.*//; s/ or /, /' | tr -d ' ' | tr ',' '\n' | grep -v '^nlopt-' | paste -sd,)
# d-al and d-al-li take the Lipschitz estimate of f' only as given, and all
# leaves them out.
own_params=(--param-d-al 100 --param-d-al-li 100)
compare own-methods "$own" "$own" "${own_params[@]}"
if [[ $peers == ON ]]; then
  compare all-steps all all --steps 1000
else
  compare all-steps "$own" "$own" --steps 1000 "${own_params[@]}"
fi
stage "the csv comparisons"
