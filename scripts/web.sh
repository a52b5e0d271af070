#!/usr/bin/env bash
# The web page: the core's module built with emscripten (scripts/wasm.sh), the
# page assembled in build/web/ with its npm packages, and its tests run in
# Debian's Chromium.
#   scripts/web.sh            build and test
#   scripts/web.sh --no-test  build only
set -euo pipefail
cd "$(dirname "$0")/.."

tests=1
for arg in "$@"; do
  case "$arg" in
    --no-test) tests=0 ;;
    *) echo "usage: scripts/web.sh [--no-test]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh web
scripts/wasm.sh velmora_core
# The packages as the lock file pins them; neither downloads a browser.
(cd web && npm ci --no-audit --no-fund --loglevel=error)

site=build/web
rm -rf "$site"
mkdir -p "$site/vendor" "$site/data"
cp web/page/* "$site/"
cp build-wasm/web/core/velmora-core.mjs build-wasm/web/core/velmora-core.wasm "$site/"
cp web/node_modules/uplot/dist/uPlot.iife.min.js web/node_modules/uplot/dist/uPlot.min.css "$site/vendor/"
cp data/*.tsv "$site/data/"
echo "The page is in $site/."

if ((tests)); then
  node --test web/tests/
fi
