#!/usr/bin/env bash
# Installs what is missing, builds Nivora and starts it on the simulated
# meter. Without a display it runs under xvfb-run (nothing to see then,
# but the program runs). Extra arguments go to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
NIVORA_BUILD_DIR="$here/build" "$here/scripts/build.sh"
exe="$here/build/app/nivora"
if [ ! -x "$exe" ]; then
  echo "The nivora program is not built yet: the main window has not landed."
  echo "The libraries and tests build; run scripts/test.sh to exercise them."
  exit 0
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$exe" --simulate "$@"
fi
exec "$exe" --simulate "$@"
