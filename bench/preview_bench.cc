// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
//
// The preview of 100,000 files in one folder: (a) the plan with the run played through
// on the file system (every row that will fail marked), against (b) the plan alone and
// (c) a bare loop of lstat(2) over the new paths, and (d) the play-through without the
// run's checks of the listed files and names, in the same run. One file in a hundred
// of the new names is already taken, so that the marks have work to do.
// Usage: preview_bench [rows] [folder] [rounds]; the folder defaults to $ZEFA_BENCH_DIR,
// else the system's temporary folder.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "list/rename_list.h"
#include "platform/file_system.h"
#include "run/change_pipeline.h"
#include "run/preview.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::Seconds;

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const std::string root = zefa::bench::MakeBenchFolder(argc > 2 ? argv[2] : "", "preview");

  zefa::RenameList list;
  for (int i = 1; i <= rows; ++i) {
    char stem[32];
    std::snprintf(stem, sizeof stem, "IMG_%06d", i);
    list.AppendRow(root + "/" + stem + ".jpg", stem, ".jpg", "");
    zefa::bench::CreateEmptyFile(list.path.entries.back());
  }
  const zefa::NameSettings settings{6, zefa::NamePattern::kCommonNumberUnique, " ", "", ""};
  const zefa::TextRules rules = zefa::NativeTextRules();
  const zefa::RenameRequest request{"旅行", 1, settings};
  {
    const zefa::ChangePlan plan = zefa::ComposeChanges(list, request, rules);
    for (std::size_t i = 0; i < plan.changes.size(); i += 100)
      zefa::bench::CreateEmptyFile(std::string(plan.changes[i].new_path()));
  }

  zefa::NativeFileSystem file_system;
  double preview = 1e9, unchecked = 1e9, plan_alone = 1e9, bare = 1e9;
  int failures = 0, taken = 0;
  // The rounds interleave the three sides, and the quickest round of each counts.
  for (int round = 0; round < rounds; ++round) {
    auto started = Clock::now();
    {
      zefa::ChangePlan plan = zefa::PlanChanges(list, request, file_system, rules);
      failures = plan.failing;
      const zefa::Preview shown(std::move(plan), rules);
      if (shown.size() != rows) return 1;
    }
    preview = std::min(preview, Seconds(started));

    started = Clock::now();
    {
      zefa::ChangePlan plan = zefa::ComposeChanges(list, request, rules);
      zefa::PlayThrough(plan, file_system, rules);
      if (plan.failing != failures) return 1;
    }
    unchecked = std::min(unchecked, Seconds(started));

    started = Clock::now();
    { const zefa::ChangePlan plan = zefa::ComposeChanges(list, request, rules); }
    plan_alone = std::min(plan_alone, Seconds(started));

    const zefa::ChangePlan plan = zefa::ComposeChanges(list, request, rules);
    std::vector<std::string> new_paths;
    for (const zefa::RowChange& change : plan.changes) new_paths.emplace_back(change.new_path());
    started = Clock::now();
    taken = 0;
    for (const std::string& path : new_paths) {
      struct stat info {};
      if (lstat(path.c_str(), &info) == 0) ++taken;
    }
    bare = std::min(bare, Seconds(started));
  }
  std::filesystem::remove_all(root);

  std::printf("%d rows in one folder, %d rounds, %d new names taken, %d rows marked\n", rows,
              rounds, taken, failures);
  std::printf("(a) preview with the run played through: %8.3f s\n", preview);
  std::printf("(d) the same without the run's checks:   %8.3f s  (a)/(d) = %.2f\n", unchecked,
              preview / unchecked);
  std::printf("(b) the plan alone:                      %8.3f s  (a)/(b) = %.2f\n", plan_alone,
              preview / plan_alone);
  std::printf("(c) lstat of every new path:             %8.3f s  (a)/(b+c) = %.2f\n", bare,
              preview / (plan_alone + bare));
  return failures == taken ? 0 : 1;
}
