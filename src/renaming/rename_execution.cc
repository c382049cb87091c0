// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/rename_execution.h"

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

void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system,
                       const KeepGoing& keep_going) {
  std::vector<RenamePair> pairs;
  std::vector<PlannedRename*> renamed_rows;
  pairs.reserve(plan.size());
  renamed_rows.reserve(plan.size());
  for (PlannedRename& row : plan) {
    if (row.new_path == row.old_path) {
      row.status = RowStatus::kUnchanged;
      continue;
    }
    pairs.push_back({row.old_path, row.new_path});
    renamed_rows.push_back(&row);
  }
  const std::vector<RenameOutcome> outcomes = file_system.RenameEachNoReplace(pairs, keep_going);
  for (std::size_t i = 0; i < renamed_rows.size() && i < outcomes.size(); ++i) {
    renamed_rows[i]->status = StatusOf(outcomes[i]);
  }
}

std::string FailureReport(const std::vector<PlannedRename>& plan) {
  std::string report;
  int failures = 0;
  for (const PlannedRename& row : plan) {
    if (!IsFailure(row.status)) continue;
    if (failures == 0) report = kFailureHead;
    if (failures < kReportedFailures) report += kLineBreak + DisplayPath(row.old_path);
    ++failures;
  }
  if (failures > kReportedFailures) {
    report += kLineBreak;
    report += "他" + std::to_string(failures - kReportedFailures) + "個";
  }
  return report;
}

}  // namespace zefa
