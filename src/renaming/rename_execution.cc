// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/rename_execution.h"

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renaming/check_name_chars.h"
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
  const CodePage code_page = rules.code_page;
  if (settings.pattern < 1 || settings.pattern > 8) return true;  // no name is built
  if (!IsPatternWithoutNumber(settings.pattern) &&
      (!CheckNameChars(settings.open_bracket, code_page, prompter) ||
       !CheckNameChars(settings.close_bracket, code_page, prompter))) {
    return false;
  }
  // Unique names and extensions come from file names, where the other characters may be
  // legal: only a path separator is refused in them, as it would move the file elsewhere.
  const char* separators = rules.path_style == PathStyle::kWindows ? "\\/:" : "/";
  const auto check = [&](const std::string& text) {
    if (text.find_first_of(separators) == std::string::npos) return true;
    for (const char* c = separators; *c != '\0'; ++c) {
      if (ContainsText(text, std::string_view(c, 1), code_page)) {
        ShowForbiddenChar(*c, prompter);
        return false;
      }
    }
    return true;
  };
  for (const std::string& unique : list.unique.entries) {
    if (!check(unique)) return false;
  }
  for (const std::string& extension : list.extension.entries) {
    if (!check(extension)) return false;
  }
  return true;
}

void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system) {
  std::vector<RenamePair> pairs;
  std::vector<PlannedRename*> renamed_rows;
  pairs.reserve(plan.size());
  renamed_rows.reserve(plan.size());
  for (PlannedRename& row : plan) {
    if (row.new_path == row.old_path) {
      row.status = RowStatus::kUnchanged;
      continue;
    }
    pairs.push_back({&row.old_path, &row.new_path});
    renamed_rows.push_back(&row);
  }
  const std::vector<RenameOutcome> outcomes = file_system.RenameEachNoReplace(pairs);
  for (std::size_t i = 0; i < renamed_rows.size(); ++i) {
    renamed_rows[i]->status = i < outcomes.size() ? StatusOf(outcomes[i]) : RowStatus::kFailed;
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
