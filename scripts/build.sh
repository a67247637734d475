#!/usr/bin/env bash
# Configures and builds Nivora into build/ (or $NIVORA_BUILD_DIR).
# Extra arguments go to cmake's configure step.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${NIVORA_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
