#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests: the normal
# build, then the same tests under AddressSanitizer/UBSan in build-asan/, then
# every fuzz target for a short time. NIVORA_QUICK=1 runs the first stage only.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
jobs=$(nproc)

NIVORA_BUILD_DIR="$here/build" "$here/scripts/build.sh" -DNIVORA_BUILD_TESTS=ON
(cd "$here/build" && ctest --output-on-failure -j "$jobs") | tee "$here/build/ctest.log"
[ "${NIVORA_QUICK:-0}" = 1 ] && exit 0

echo "== the same tests under AddressSanitizer and UBSan"
NIVORA_BUILD_DIR="$here/build-asan" "$here/scripts/build.sh" -DNIVORA_BUILD_TESTS=ON \
  -DNIVORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j "$jobs" | tail -n 3)

echo "== fuzz targets"
"$here/scripts/fuzz.sh"

echo "== summary of the main test run"
grep -E 'tests passed|tests failed' "$here/build/ctest.log" | tail -n 1
