// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/rename_execution.h"

#include "platform/file_system.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kFailureHead = "以下のファイルのリネームに失敗しました";
constexpr const char* kLineBreak = "\n\r";

RowStatus StatusOf(RenameOutcome outcome) {
  switch (outcome) {
    case RenameOutcome::kDone:
      return RowStatus::kRenamed;
    case RenameOutcome::kTargetExists:
      return RowStatus::kTargetExists;
    case RenameOutcome::kSourceMissing:
      return RowStatus::kSourceMissing;
    case RenameOutcome::kFailed:
      break;
  }
  return RowStatus::kFailed;
}

}  // namespace

std::size_t RenamesOf(const std::vector<PlannedRename>& plan) {
  std::size_t renames = 0;
  for (const PlannedRename& row : plan) renames += row.new_path != row.old_path;
  return renames;
}

namespace {

// A change of case through a temporary name. When the second step is refused the file
// goes back to its old name, and the first step counts as failed: nothing moved.
void RenameInTwoSteps(PlannedRename& first, PlannedRename& second, FileSystem& file_system) {
  first.status = StatusOf(file_system.RenameNoReplace(std::string(first.old_path), first.new_path));
  if (first.status != RowStatus::kRenamed) {
    second.status = first.status;
    return;
  }
  second.status = StatusOf(file_system.RenameNoReplace(first.new_path, second.new_path));
  if (second.status == RowStatus::kRenamed) return;
  if (file_system.RenameNoReplace(first.new_path, std::string(first.old_path)) ==
      RenameOutcome::kDone) {
    first.status = RowStatus::kFailed;
  }
}

}  // namespace

void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system,
                       const KeepGoing& keep_going) {
  std::size_t done = 0;
  bool stop = false;
  const KeepGoing counted = [&](std::size_t more) {
    stop = keep_going && !keep_going(done + more);
    return !stop;
  };
  std::vector<RenamePair> pairs;
  std::vector<PlannedRename*> renamed_rows;
  for (std::size_t row = 0; row < plan.size() && !stop;) {
    // Whole rows go to the file system in one batch, up to a row that takes two steps.
    pairs.clear();
    renamed_rows.clear();
    for (; row < plan.size() && plan[row].step == PlannedRename::Step::kWhole; ++row) {
      PlannedRename& entry = plan[row];
      if (entry.new_path == entry.old_path) {
        entry.status = RowStatus::kUnchanged;
        continue;
      }
      pairs.push_back({entry.old_path, entry.new_path});
      renamed_rows.push_back(&entry);
    }
    if (!pairs.empty()) {
      const std::vector<RenameOutcome> outcomes =
          file_system.RenameEachNoReplace(pairs, keep_going ? counted : KeepGoing{});
      for (std::size_t i = 0; i < renamed_rows.size() && i < outcomes.size(); ++i) {
        renamed_rows[i]->status = StatusOf(outcomes[i]);
      }
      done += outcomes.size();
    }
    if (stop || row >= plan.size()) break;
    // A stop is heard only once both steps are done: the file never rests at its
    // temporary name.
    if (row + 1 < plan.size() && plan[row].step == PlannedRename::Step::kToTemporary &&
        plan[row + 1].step == PlannedRename::Step::kFromTemporary) {
      RenameInTwoSteps(plan[row], plan[row + 1], file_system);
      row += 2;
      done += 2;
      stop = keep_going && !keep_going(done);
    } else {
      plan[row].status = RowStatus::kFailed;  // a step without its other half is never taken
      ++row;
    }
  }
}

void FollowRenamedFiles(RenameList& list, std::vector<PlannedRename>& plan) {
  // Collected first: the old paths are views into the entries about to change.
  std::vector<std::pair<int, std::string>> moved;
  int row = 0;
  for (PlannedRename& entry : plan) {
    if (entry.step == PlannedRename::Step::kToTemporary) continue;
    if (entry.status == RowStatus::kRenamed) moved.emplace_back(row, std::move(entry.new_path));
    ++row;
  }
  plan.clear();
  for (auto& [at, path] : moved) list.RenamePath(at, std::move(path));
}

std::string FailureReport(const std::vector<PlannedRename>& plan) {
  std::string report;
  int failures = 0;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedRename& row = plan[i];
    if (!IsFailure(row.status)) continue;
    // A row of two steps is one file of the list, named by its old path.
    std::string_view shown = row.old_path;
    if (row.step == PlannedRename::Step::kFromTemporary && i > 0) {
      if (IsFailure(plan[i - 1].status)) continue;
      shown = plan[i - 1].old_path;
    }
    if (failures == 0) report = kFailureHead;
    if (failures < kReportedFailures) report += kLineBreak + DisplayPath(shown);
    ++failures;
  }
  if (failures > kReportedFailures) {
    report += kLineBreak;
    report += "他" + std::to_string(failures - kReportedFailures) + "個";
  }
  return report;
}

}  // namespace zefa
