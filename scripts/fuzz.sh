#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) from its
# seeds in fuzz/corpus/<name>/; what a run finds new is kept in build/fuzz/corpus/<name>/.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
for program in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$program" _fuzz)
  mkdir -p "build/fuzz/corpus/$name"
  echo "== $name: ${seconds} s"
  "$program" -max_total_time="$seconds" "build/fuzz/corpus/$name" "fuzz/corpus/$name"
done
