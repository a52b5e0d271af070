#!/usr/bin/env bash
# Installs the Python module into a fresh virtual environment, as a user
# would on Debian 12 with Debian's packages and no package index, and imports
# it from outside the source tree.
#   scripts/check-python-install.sh BUILD_DIR
# BUILD_DIR is a configured tree; its interpreter (the one that has numpy) makes
# the environment, and the extension is built there rather than anew.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(cd "$1" && pwd)
python=$(sed -n 's/^Python_EXECUTABLE:FILEPATH=//p' "$tree/CMakeCache.txt")
venv=$(mktemp -d)
trap 'rm -rf "$venv"; rm -rf python/velmora.egg-info' EXIT

"$python" -m venv --system-site-packages "$venv"
VELMORA_BUILD_DIR="$tree" "$venv/bin/pip" install --quiet --no-build-isolation --no-index .
cd /
"$venv/bin/python" -c '
import velmora
r = velmora.search("sin(x[0]) + sin(10*x[0]/3)", (2.7, 7.5), method="strongin", param=2, steps=100)
assert velmora.__file__.startswith("'"$venv"'"), velmora.__file__
assert r.nfev == 102 and abs(r.x - 5.1457) < 1e-3, r
assert velmora.test_function("hill1000", 999).b == 1.0
print("python module installed:", velmora.__file__)
'
