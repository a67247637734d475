#!/usr/bin/env bash
# Makes the Debian package nivora_<version>_<architecture>.deb with CPack
# from what `cmake --install` puts below /usr, and prints its path. Builds
# build/ (or $NIVORA_BUILD_DIR) first, configuring it when it is new (extra
# arguments go to that configure step); an up-to-date build is used as it
# is. The package goes to $NIVORA_PACKAGE_DIR (default: the build folder).
# Needs dpkg-dev and file (scripts/install-deps.sh installs them).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${NIVORA_BUILD_DIR:-$here/build}
out=${NIVORA_PACKAGE_DIR:-$build}

if [ ! -f "$build/CMakeCache.txt" ]; then
  NIVORA_BUILD_DIR="$build" "$here/scripts/build.sh" -DNIVORA_BUILD_TESTS=OFF "$@"
else
  cmake --build "$build" -j "$(nproc)"
fi
mkdir -p "$out"
log="$out/cpack.log"
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$log" 2>&1; then
  cat "$log" >&2
  echo "package: cpack failed" >&2
  exit 1
fi
# "CPack: - package: /path/nivora_1.2.3_amd64.deb generated."
package=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$log" | tail -n 1)
if [ -z "$package" ] || [ ! -f "$package" ]; then
  cat "$log" >&2
  echo "package: cpack named no package" >&2
  exit 1
fi
echo "$package"
