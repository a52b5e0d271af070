#!/usr/bin/env bash
# Installs what is missing, builds Velmora and starts its window.
#   scripts/run.sh         the window
#   scripts/run.sh --web   the web page, served on 127.0.0.1 until Ctrl+C
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  "") ;;
  --web)
    scripts/web.sh --no-test
    port=${PORT:-8765}
    echo "Velmora's page: http://127.0.0.1:$port/"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web
    ;;
  *) echo "usage: scripts/run.sh [--web]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: starting Velmora on a virtual one (xvfb-run)." >&2
  exec xvfb-run -a build/app/velmora
fi
exec build/app/velmora
