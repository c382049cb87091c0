#!/usr/bin/env bash
# The code's format is checked, not hoped for: every C++ file of the program, its tests and
# its benchmarks as .clang-format lays it out. `--fix` formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files 'src/*.cc' 'src/*.h' 'tests/*.cc' 'tests/*.h' 'bench/*.cc' 'bench/*.h')
if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Not formatted: run bash scripts/check-format.sh --fix" >&2
  exit 1
fi
echo "format: ${#files[@]} files as .clang-format lays them out"
