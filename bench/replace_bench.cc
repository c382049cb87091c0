// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The find and replace over the unique names of 100,000 and of 1,000,000 rows: the time
// of each and the ratio of their per-row times (1.0 is linear).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "names/name_replace.h"

namespace {

// Names as scanners and downloads leave them: half of them with a suffix to take away,
// some in full width, some with a copy number.
zefa::RenameList MakeList(int rows) {
  zefa::RenameList list;
  list.Reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    std::string unique = (row % 3 == 0 ? "ＩＭＧ＿" : "IMG_") + std::to_string(row);
    if (row % 2 == 0) unique += "_scan";
    if (row % 5 == 0) unique += " (1)";
    list.AppendRow("/pic/" + unique + ".JPG", unique, ".JPG", "");
  }
  return list;
}

// The quickest of `rounds` scans of the whole list; the rows changed go to `changed`.
double Quickest(const zefa::RenameList& list, const zefa::ReplaceRule& rule, int rounds,
                std::size_t& changed) {
  double best = 1e9;
  for (int round = 0; round < rounds; ++round) {
    const auto start = zefa::bench::Clock::now();
    zefa::ReplaceScan scan(list, rule, zefa::TextRules{});
    scan.Finish();
    best = std::min(best, zefa::bench::Seconds(start));
    changed = scan.changed_rows().size();
    if (!scan.CanApply()) {
      std::fprintf(stderr, "scan stopped: %s\n", scan.error().c_str());
      std::exit(1);
    }
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int small = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int large = argc > 2 ? std::atoi(argv[2]) : 1000000;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
  zefa::ReplaceRule rule;
  // "_scan" goes, in any case; full width becomes ASCII; all in lower case.
  rule.search = "_scan";
  rule.to_half_width = true;
  rule.case_change = zefa::CaseChange::kLower;
  const zefa::RenameList small_list = MakeList(small);
  const zefa::RenameList large_list = MakeList(large);
  std::size_t small_changed = 0;
  std::size_t large_changed = 0;
  const double small_time = Quickest(small_list, rule, rounds, small_changed);
  const double large_time = Quickest(large_list, rule, rounds, large_changed);
  const double small_per_row = small_time / small;
  const double large_per_row = large_time / large;
  std::printf("rows %d: %.3f s, %.0f ns a row, %zu changed\n", small, small_time,
              small_per_row * 1e9, small_changed);
  std::printf("rows %d: %.3f s, %.0f ns a row, %zu changed\n", large, large_time,
              large_per_row * 1e9, large_changed);
  std::printf("per-row ratio %d/%d: %.2f\n", large, small, large_per_row / small_per_row);
  return 0;
}
