#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors and runs every test:
# the core and GUI tests, the core tests again under ASan and UBSan, and the install checks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

if [ -x scripts/check-install.sh ]; then
  bash scripts/check-install.sh build/ci
fi
