#!/usr/bin/env bash
# Runs the engine's test programs and one window test under valgrind's
# memcheck, in the release tree that scripts/test.sh builds.
#   scripts/valgrind.sh
# Clean means: no invalid read or write, no use of an uninitialised value and
# no definitely or indirectly lost block in any program. Valgrind computes x87
# arithmetic with 64-bit instead of 80-bit significands, so a test that checks
# a result bit for bit can fail under it without any memory error; such
# failures are listed apart and do not count against memcheck.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release >/dev/null

export QT_QPA_PLATFORM=offscreen
logs=build/memcheck
mkdir -p "$logs"
memcheck=(valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite,indirect
          --show-leak-kinds=definite,indirect --error-exitcode=99 --num-callers=30
          --suppressions=scripts/valgrind.supp)

programs=()
for dir in build/tests/formula build/tests/search build/fuzz; do
  [[ -d $dir ]] || continue
  while IFS= read -r program; do programs+=("$program"); done \
    < <(find "$dir" -maxdepth 1 -type f -executable | sort)
done

dirty=0
run() {
  local name=$1; shift
  local log=$logs/$name.log
  local status=0
  ("${memcheck[@]}" --log-file="$log" "$@" >"$logs/$name.out" 2>&1) 2>/dev/null || status=$?
  local summary
  summary=$(grep -E 'ERROR SUMMARY' "$log" | tail -n 1)
  if ((status == 99)); then
    dirty=1
    echo "DIRTY  $name: ${summary#==*== }"
  elif ((status != 0)); then
    echo "clean  $name: ${summary#==*== }; its own checks failed under valgrind's 64-bit x87 (exit $status):"
    grep -E '^\[  FAILED  \] [A-Za-z_]+\.[A-Za-z_0-9]+ \(|invariant broken' "$logs/$name.out" | sed 's/^/         /' || true
  else
    echo "clean  $name: ${summary#==*== }"
  fi
}

for program in "${programs[@]}"; do
  name=$(basename "$program")
  case "$name" in
    replay_*)
      inputs=(fuzz/corpus/"${name#replay_}")
      [[ -d fuzz/regressions/${name#replay_} ]] && inputs+=(fuzz/regressions/"${name#replay_}")
      run "$name" "$program" "${inputs[@]}" ;;
    *) run "$name" "$program" ;;
  esac
done
# The window: one test of the upper group, and the monkey test with fewer
# actions (every control and both kinds of box, at valgrind's pace).
run app_update build/tests/app/velmora_app_tests \
  --gtest_filter=FunctionEntry.updateReadsParametersAndIntervalAndDraws
VELMORA_MONKEY_ACTIONS=400 run monkey build/tests/monkey/velmora_monkey_test
exit "$dirty"
