#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Nivora
# needs (clang-format for the format check among them), the validators of the desktop files that the install test runs
# (appstream, desktop-file-utils), what scripts/package.sh makes the Debian
# package with (dpkg-dev, file) and lintian that checks it, poppler's tools with which the printing
# tests read their PDF files back, and ImageMagick and xdotool for
# screenshots and clicks under Xvfb among them. Quiet when everything is already
# installed. Runs as root, or through sudo when it is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev qt6-translations-l10n
  libhidapi-dev libjpeg62-turbo-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev libqcustomplot-dev
  clang libclang-rt-14-dev clang-format
  fonts-dejavu-core xvfb xauth
  appstream desktop-file-utils
  dpkg-dev file lintian
  imagemagick xdotool
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
    echo "install-deps: missing packages (${missing[*]}) and not root; install them as root." >&2
    exit 1
  fi
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
