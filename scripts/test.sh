#!/usr/bin/env bash
# Installs what is needed, checks the code's format, builds everything with warnings as
# errors and runs every test:
# the core and window tests, the fuzz targets' seeds and the layer checks; the core and
# window tests again in Debug under ASan and UBSan (Qt's assertions too); the install
# checks and a run of the installed copy. The fuzzing itself is scripts/fuzz.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

# The code is laid out as .clang-format says before anything is built.
bash scripts/check-format.sh

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

bash scripts/check-install.sh build/ci
# The installed copy run as a new Japanese user, through its real windows under Xvfb.
bash scripts/check-installed-run.sh build/ci
