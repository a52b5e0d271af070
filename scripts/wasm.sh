#!/usr/bin/env bash
# The core (formula, search, lab) compiled to WebAssembly with emscripten
# (tree build-wasm/).
#   scripts/wasm.sh           everything, and the core's own tests run under Node
#   scripts/wasm.sh TARGET    that target alone (velmora_core: the page's module)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh wasm
# Debian's emscripten finds its JavaScript tools (acorn) only through Debian's
# node module folder, which a Node not from Debian does not search.
export NODE_PATH=/usr/share/nodejs

# Exceptions carry the engine's faults as on every platform. The stack is
# 32 MiB, for formulas nested as deep as the language allows; Node's own
# stack, for the JavaScript frames between, is raised too.
emcmake cmake -S . -B build-wasm -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELMORA_WINDOW=OFF -DVELMORA_PEERS=OFF -DVELMORA_PYTHON=OFF -DVELMORA_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS=-fexceptions -include $PWD/cmake/wasm/StdBitCast.h" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fexceptions -sTOTAL_STACK=33554432 -sINITIAL_MEMORY=67108864 -sALLOW_MEMORY_GROWTH=1" \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=node;--no-experimental-fetch;--stack-size=4000" >/dev/null
if (($#)); then
  cmake --build build-wasm --target "$@"
  exit
fi
cmake --build build-wasm
ctest --test-dir build-wasm --output-on-failure -j2 --timeout 600
