// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/rename_execution.h"

#include <utility>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renaming/check_name_chars.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kFailureHead = "以下のファイルのリネームに失敗しました";
constexpr const char* kLineBreak = "\n\r";
// Where a refused character stands: the settings' bracket texts, or a row's parts.
constexpr const char* kOpenBracketText = "数字を囲む文字列（開）";
constexpr const char* kCloseBracketText = "数字を囲む文字列（閉）";
constexpr const char* kUniqueNameOfRow = "番のファイルの固有名";
constexpr const char* kExtensionOfRow = "番のファイルの拡張子";

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

const std::string* FirstMissingFile(const RenameList& list, FileSystem& file_system) {
  const std::vector<bool> exist = file_system.FilesExist(list.path.entries);
  for (std::size_t row = 0; row < exist.size(); ++row) {
    if (!exist[row]) return &list.path.entries[row];
  }
  return nullptr;
}

const std::string* FirstRowWithoutUniqueName(const RenameList& list) {
  for (int row = 0; row < RowCount(list); ++row) {
    const auto index = static_cast<std::size_t>(row);
    if (list.unique.entries[index].empty()) return &list.path.entries[index];
  }
  return nullptr;
}

bool CheckNameParts(const RenameList& list, const NameSettings& settings, const TextRules& rules,
                    Prompter& prompter) {
  if (settings.pattern < 1 || settings.pattern > 8) return true;  // no name is built
  // Every part comes from the user or from file names, where the other characters may be
  // legal: only a path separator is refused, as it would move the file elsewhere.
  const auto refused = [&](const std::string& text) { return FirstSeparatorChar(text, rules); };
  const auto refuse = [&](const std::string& where, char found, const std::string& path = {}) {
    prompter.Beep(BeepKind::kError);
    std::string text = where + "に使えない文字\"" + found + "\"が含まれています";
    if (!path.empty()) text += kLineBreak + path;
    prompter.Error(text);
    return false;
  };
  if (!IsPatternWithoutNumber(settings.pattern)) {
    if (const char c = refused(settings.open_bracket)) return refuse(kOpenBracketText, c);
    if (const char c = refused(settings.close_bracket)) return refuse(kCloseBracketText, c);
  }
  const std::pair<const ListColumn*, const char*> columns[] = {{&list.unique, kUniqueNameOfRow},
                                                               {&list.extension, kExtensionOfRow}};
  for (const auto& [column, what] : columns) {
    for (std::size_t row = 0; row < column->entries.size(); ++row) {
      if (const char c = refused(column->entries[row])) {
        return refuse(std::to_string(row + 1) + what, c, list.path.entries[row]);
      }
    }
  }
  return true;
}

std::size_t RenamesOf(const std::vector<PlannedRename>& plan) {
  std::size_t renames = 0;
  for (const PlannedRename& row : plan) renames += row.new_path != row.old_path;
  return renames;
}

namespace {

// A change of case through a temporary name. When the second step is refused the file
// goes back to its old name, and the first step counts as failed: nothing moved.
void RenameInTwoSteps(PlannedRename& first, PlannedRename& second, FileSystem& file_system) {
  first.status =
      StatusOf(file_system.RenameNoReplace(std::string(first.old_path), first.new_path));
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
      const std::vector<RenameOutcome> outcomes = file_system.RenameEachNoReplace(pairs, keep_going ? counted : KeepGoing{});
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
