#!/usr/bin/env bash
# The Search press from the click to the painted window, this tree's window
# beside an older commit's, run in turn on one machine:
#   bench/app/press-to-paint-vs.sh [COMMIT [ROUNDS [PRESSES [SAMPLE]]]]
# COMMIT defaults to 646790f, the window before the course and the core.
# The older window is built in build-press-to-paint/ from a worktree, with
# this tree's PressToPaint.cpp, which uses only widgets both windows have.
# Needs this tree's release build in build/.
set -euo pipefail
cd "$(dirname "$0")/../.."
commit=${1:-646790f}
rounds=${2:-3}
presses=${3:-15}
sample=${4:-2}
old=build-press-to-paint
if [[ ! -d $old/src ]]; then
  git worktree add --detach "$old/src" "$commit" >/dev/null
else
  git -C "$old/src" checkout --quiet --detach "$commit"
fi
cp bench/app/PressToPaint.cpp "$old/src/bench/app/"
grep -q velmora_press_to_paint "$old/src/bench/app/CMakeLists.txt" ||
  printf '\nadd_executable(velmora_press_to_paint PressToPaint.cpp)\ntarget_link_libraries(velmora_press_to_paint PRIVATE velmora_app)\n' \
    >>"$old/src/bench/app/CMakeLists.txt"
cmake -S "$old/src" -B "$old/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_PYTHON=OFF >/dev/null
cmake --build "$old/build" --target velmora_press_to_paint >/dev/null
cmake --build build --target velmora_press_to_paint >/dev/null
for ((round = 1; round <= rounds; ++round)); do
  echo "== $commit"
  "$old/build/bench/app/velmora_press_to_paint" "$presses" "$sample"
  echo "== this tree"
  build/bench/app/velmora_press_to_paint "$presses" "$sample"
done
