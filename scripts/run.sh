#!/usr/bin/env bash
# Installs what is missing, builds Nivora and starts it on the simulated
# meter. Without a display it runs under xvfb-run (nothing to see then,
# but the program runs). Extra arguments go to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
NIVORA_BUILD_DIR="$here/build" "$here/scripts/build.sh"
exe="$here/build/app/nivora"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$exe" --simulate "$@"
fi
exec "$exe" --simulate "$@"
