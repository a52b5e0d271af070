#!/usr/bin/env bash
# Fuzzes the harnesses of fuzz/ with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, one after the other on one core.
#   scripts/fuzz.sh                      every harness, 10 minutes each
#   scripts/fuzz.sh --smoke              every harness, 45 seconds each (CI)
#   scripts/fuzz.sh --time S [NAME...]   the named harnesses, S seconds each
# The tree is build-fuzz/ (clang). Inputs that add coverage collect in
# build-fuzz/corpus/NAME, seeded from fuzz/corpus/NAME and fuzz/regressions/NAME;
# an input that breaks an invariant is written to build-fuzz/findings/NAME/ and
# the script fails. Keep such an input in fuzz/regressions/NAME/ once it is
# fixed: the test suite replays that folder.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: scripts/fuzz.sh [--smoke | --time SECONDS] [NAME...]" >&2; exit 2; }

seconds=600
names=()
while (($#)); do
  case "$1" in
    --smoke) seconds=45 ;;
    --time) (($# >= 2)) || usage; seconds=$2; shift ;;
    -*) usage ;;
    *) names+=("$1") ;;
  esac
  shift
done

scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_BENCH=OFF >/dev/null
if ((${#names[@]} == 0)); then
  while IFS= read -r target; do names+=("${target#fuzz_}"); done \
    < <(ninja -C build-fuzz -t targets all | sed -n 's/^\(fuzz_[a-z]*\): phony$/\1/p' | sort)
fi
cmake --build build-fuzz -j2 --target "${names[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
failed=0
for name in "${names[@]}"; do
  work=build-fuzz/corpus/$name
  findings=build-fuzz/findings/$name/
  log=build-fuzz/fuzz-$name.log
  mkdir -p "$work" "$findings"
  seeds=(fuzz/corpus/"$name")
  [[ -d fuzz/regressions/$name ]] && seeds+=(fuzz/regressions/"$name")
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
           -max_len=4096 -artifact_prefix="$findings")
  [[ -f fuzz/$name.dict ]] && options+=(-dict=fuzz/"$name".dict)
  echo "== fuzz_$name: $seconds s (log: $log)"
  start=$(date +%s)
  TIMEFORMAT="cpu: %U s user + %S s system, %R s wall"
  if { time build-fuzz/fuzz/fuzz_"$name" "${options[@]}" "$work" "${seeds[@]}" >"$log" 2>&1; } 2>>"$log"; then
    status=ok
  else
    status=FAILED
    failed=1
  fi
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)|^cpu:' "$log" || true
  echo "== fuzz_$name: $status after $(( $(date +%s) - start )) s"
  if [[ $status == FAILED ]]; then
    tail -n 60 "$log"
    ls -l "$findings"
  fi
done
exit "$failed"
