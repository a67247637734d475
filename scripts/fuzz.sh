#!/usr/bin/env bash
# Builds the fuzz targets with clang/libFuzzer into build-fuzz/ and runs each
# for a short, bounded time (NIVORA_FUZZ_SECONDS, default 20), starting from
# the golden vectors its <target>.seeds names (tests/data/golden) and the
# inputs it found before (build-fuzz/corpus/<target>). Warnings are errors, as
# in the other builds. A crash fails, and so does a target without seeds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${NIVORA_FUZZ_SECONDS:-20}
build="$here/build-fuzz"
CXX=clang++ CC=clang cmake -S "$here" -B "$build" -G Ninja -DNIVORA_BUILD_FUZZ=ON \
  -DNIVORA_WERROR=ON -DNIVORA_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
mapfile -t targets < <(find "$build/fuzz" -type f -executable -name '*_fuzz' | sort)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets built"
  exit 0
fi
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -f "$t.seeds" ] && mapfile -t seeds <"$t.seeds"
  if [ ${#seeds[@]} -eq 0 ]; then
    echo "fuzz: $name has no seed corpus ($t.seeds)"
    exit 1
  fi
  echo "fuzz: $name for ${seconds}s from ${#seeds[@]} seed folder(s)"
  "$t" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" "${seeds[@]}" \
    >"$build/$name.log" 2>&1 || { tail -n 40 "$build/$name.log"; echo "fuzz: $name failed"; exit 1; }
done
echo "fuzz: ${#targets[@]} targets ran clean"
