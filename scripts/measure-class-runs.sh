#!/usr/bin/env bash
# Times one class run of velmora-run on one thread and on every core, after
# checking that both write the same csv. Usage:
#   scripts/measure-class-runs.sh [BUILD_DIR] [CLASS:RANGE]
# Uses hyperfine (Debian's package) when it is installed, the shell's time otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
range=${2:-hill:1000}
cores=$(nproc)
run="$build/cli/velmora-run --class $range --methods strongin,inf-gl,inf-ltma --max-trials 1000 --delta 1e-3 --format csv"

one=$(mktemp) all=$(mktemp)
trap 'rm -f "$one" "$all"' EXIT
$run --jobs 1 >"$one" 2>/dev/null
$run --jobs "$cores" >"$all" 2>/dev/null
cmp "$one" "$all" && echo "the same csv on 1 and on $cores threads ($(($(wc -l <"$one") - 1)) runs)"

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs 10 "$run --jobs 1" "$run --jobs $cores"
else
  for jobs in 1 "$cores"; do
    echo "--jobs $jobs"
    time $run --jobs "$jobs" >/dev/null 2>&1
  done
fi
