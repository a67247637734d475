#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"

NIVORA_BUILD_DIR="$here/build" "$here/scripts/build.sh" -DNIVORA_BUILD_TESTS=ON
(cd "$here/build" && ctest --output-on-failure -j "$(nproc)")
