#!/bin/bash
# SPDX-FileCopyrightText: ZeFa Oru developers
# SPDX-License-Identifier: MIT
#
# Runs scale_bench several times, each on fresh folders, and prints every round's
# run/bare and undo/bare with their medians: on a shared machine one round's pair of
# timings moves by a fifth from one round to the next.
# Usage: bench/scale_rounds.sh [rounds] [rows] [folder]; the program is looked for in
# build/ci/bench unless ZEFA_SCALE_BENCH names it.
set -euo pipefail
rounds=${1:-5}
rows=${2:-100000}
folder=${3:-}
program=${ZEFA_SCALE_BENCH:-$(dirname "$0")/../build/ci/bench/scale_bench}
rounds_file=$(mktemp)
trap 'rm -f "$rounds_file"' EXIT

for round in $(seq 1 "$rounds"); do
  "$program" "$rows" $folder | awk -v round="$round" '
    /^run / { run = $2 }
    /^undo / { undo = $2 }
    /^bare renameat2 loop/ { forward = $4; back = $7 }
    END { printf "round %d: run %.3f s, bare %.3f s, %.3f; undo %.3f s, bare %.3f s, %.3f\n",
                 round, run, forward, run / forward, undo, back, undo / back }'
done | tee "$rounds_file"
awk '
  { split($0, parts, ", "); run[NR] = parts[3] + 0; undo[NR] = $NF + 0 }
  function median(values, count,    i, j, t) {
    for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++)
      if (values[j] < values[i]) { t = values[i]; values[i] = values[j]; values[j] = t }
    return count % 2 ? values[(count + 1) / 2] : (values[count / 2] + values[count / 2 + 1]) / 2
  }
  END { printf "median of %d rounds: run/bare = %.3f  undo/bare = %.3f (target <= 1.10)\n",
               NR, median(run, NR), median(undo, NR) }' "$rounds_file"
