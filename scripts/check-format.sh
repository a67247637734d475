#!/usr/bin/env bash
# Checks that the project's C++ sources are formatted as its .clang-format
# says: every *.cpp and *.h that git tracks, or the files given. Lists each
# file that is not and fails. With --fix it formats them in place instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
fix=0
if [ "${1:-}" = --fix ]; then
  fix=1
  shift
fi
if [ $# -gt 0 ]; then
  files=("$@")
elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
command -v clang-format >/dev/null || {
  echo "check-format: clang-format is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
}
if [ "$fix" = 1 ]; then
  clang-format -i --style="file:$here/.clang-format" "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror --style="file:$here/.clang-format" "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'check-format: not formatted: %s\n' "${bad[@]}" >&2
  echo "check-format: ${#bad[@]} of ${#files[@]} files; scripts/check-format.sh --fix formats them" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
