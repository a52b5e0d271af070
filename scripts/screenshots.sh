#!/usr/bin/env bash
# Draws the pictures of the window offscreen into a folder (default
# build/screenshots), from the release tree that scripts/test.sh builds.
#   scripts/screenshots.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build/screenshots}
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target velmora_screenshots >/dev/null
QT_QPA_PLATFORM=offscreen build/resources/velmora_screenshots "$folder"
