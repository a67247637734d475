#!/usr/bin/env bash
# Installs what is missing, builds the program (and only what it needs) and
# starts it on the simulated meter. Without a display it runs under xvfb-run
# (nothing to see then, but the program runs). Extra arguments go to the
# program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
build="$here/build"
# A new build folder is configured without the tests; one that
# scripts/test.sh made keeps them configured (they are not built here).
options=()
[ -f "$build/CMakeCache.txt" ] || options=(-DNIVORA_BUILD_TESTS=OFF)
cmake -S "$here" -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target nivora
exe="$build/app/nivora"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$exe" --simulate "$@"
fi
exec "$exe" --simulate "$@"
