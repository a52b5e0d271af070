#!/usr/bin/env bash
# Installs what is missing, builds Velmora and starts its window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: starting Velmora on a virtual one (xvfb-run)." >&2
  exec xvfb-run -a build/app/velmora
fi
exec build/app/velmora
