#!/usr/bin/env bash
# Installs what is needed, checks the code's format, builds everything with warnings as
# errors and runs every test at least once:
# - the Release tree (ci): the program and the benchmarks built; the core tests, the fuzz
#   targets' seeds and the layer checks run;
# - the Debug tree under ASan and UBSan with Qt's assertions (asan): the core tests and the
#   seeds again, and the window tests, which run only here;
# - the install checks and a run of the installed Release copy through its real windows.
# The fuzzing itself is scripts/fuzz.sh.
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
