#!/usr/bin/env bash
# Installs what is missing, checks the sources' format, builds everything
# (the benchmarks too, which are built but not run here) with warnings as
# errors and runs all tests: the normal build, then the same
# tests under AddressSanitizer/UBSan with leak detection in build-asan/,
# then every fuzz target for a short time. Each stage prints its own summary
# line; the first stage that fails ends the run with a non-zero status.
# NIVORA_QUICK=1 runs the format check and the first build and tests only.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
jobs=$(nproc)

echo "== format"
format=$("$here/scripts/check-format.sh")
echo "$format"

NIVORA_BUILD_DIR="$here/build" "$here/scripts/build.sh" -DNIVORA_BUILD_TESTS=ON -DNIVORA_WERROR=ON \
  -DNIVORA_BUILD_BENCH=ON
(cd "$here/build" && ctest --output-on-failure -j "$jobs") | tee "$here/build/ctest.log"
main=$(grep -E 'tests passed|tests failed' "$here/build/ctest.log" | tail -n 1)
[ "${NIVORA_QUICK:-0}" = 1 ] && exit 0

echo "== the same tests under AddressSanitizer and UBSan, leak detection on"
NIVORA_BUILD_DIR="$here/build-asan" "$here/scripts/build.sh" -DNIVORA_BUILD_TESTS=ON -DNIVORA_WERROR=ON \
  -DNIVORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# Leaks inside system libraries are suppressed in tests/lsan.supp, each with
# its reason; a leak of the project's own is a failure.
asan_log="$here/build-asan/ctest.log"
status=0
(cd "$here/build-asan" &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs") >"$asan_log" 2>&1 || status=$?
sanitizers=$(grep -E 'tests passed|tests failed' "$asan_log" | tail -n 1 || true)
if [ "$status" -ne 0 ]; then
  grep -E -A 60 'LeakSanitizer|AddressSanitizer|runtime error|\*\*\*Failed|Exception' "$asan_log" |
    head -n 200 || true
  echo "sanitizers: FAILED: ${sanitizers:-no summary} (whole log: $asan_log)"
  exit 1
fi
echo "sanitizers: passed: $sanitizers"

echo "== fuzz targets"
"$here/scripts/fuzz.sh"

echo "== summary"
echo "format:     ${format#check-format: }"
echo "main:       $main (warnings are errors; the benchmarks built)"
echo "sanitizers: $sanitizers (leak detection on)"
echo "fuzz:       every target ran clean"
