// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/undo.h"

#include <algorithm>
#include <optional>

#include "platform/file_system.h"
#include "renaming/rename_execution.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kUndoFailureHead = "以下のファイルを元の名前に戻せませんでした";
constexpr const char* kLineBreak = "\n\r";
// Shown after each row's path, in the order of NotBackReason.
constexpr const char* kNotBackReasons[] = {
    "（見つかりません）",         "（別のファイルに置き換えられています）",
    "（ファイルではありません）", "（元の名前のファイルがあります）",
    "（名前を変更できません）",   "（識別情報が記録されていません）"};

// A row that the undo may rename: a run never moves a file to another folder, so neither
// does its undo.
bool IsMovable(const RestoreRow& row, const TextRules& rules) {
  return IsRowOfARun(row.before, row.after, rules) && row.before != row.after &&
         FolderPart(row.before, rules) == FolderPart(row.after, rules);
}

// The first recorded new path that no longer exists, in row order; "" when the record
// holds no rows or is incomplete; nullopt when every one exists. Rows that the undo never
// touches (see IsRowOfARun) are not looked at.
std::optional<std::string> FirstMissingAfter(const RestoreRecord& record, FileSystem& file_system,
                                             const TextRules& rules) {
  if (record.Count() <= 0 || record.Overlong()) return std::string();
  std::vector<std::string> looked_at;
  std::vector<std::size_t> row_of;
  for (std::size_t row = 0; row < record.size(); ++row) {
    const RestoreRow recorded = record.Row(row);
    if (!IsRowOfARun(recorded.before, recorded.after, rules)) continue;
    looked_at.emplace_back(recorded.after);
    row_of.push_back(row);
  }
  // A record of which no row could come from a run (a copy from another platform) is invalid.
  if (looked_at.empty()) return std::string(record.FirstNewPath());
  const std::vector<bool> exist = file_system.FilesExist(looked_at);
  for (std::size_t i = 0; i < exist.size(); ++i) {
    if (!exist[i]) return std::string(record.Row(row_of[i]).after);
  }
  if (!record.Complete()) return std::string();
  return std::nullopt;
}

bool IsSameFile(FileMatch match) {
  return match == FileMatch::kSameFile || match == FileMatch::kSameFileByTimes;
}

FileMatch MatchOne(FileSystem& file_system, std::string_view path, std::string_view identity) {
  const std::vector<FileMatch> match = file_system.MatchFiles({KeyedPath{path, identity}});
  return match.empty() ? FileMatch::kNothing : match.front();
}

// Whether the path names one of the temporary names through which a run changes the case
// of a name (".zefa-oru-<row>.tmp" in the file's folder, see case_only_rename.cc).
bool IsTemporaryPath(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  const std::string_view name =
      separator == std::string_view::npos ? path : path.substr(separator + 1);
  return name.starts_with(".zefa-oru-") && name.ends_with(".tmp");
}

// Whether the row is the second step of a change of case: it moves on the file that the
// row before it put at a temporary name.
bool ContinuesPreviousRow(const RestoreRecord& record, std::size_t row) {
  return row > 0 && record.Row(row).before == record.Row(row - 1).after &&
         IsTemporaryPath(record.Row(row).before);
}

// The identity the row's file is known by: its own, or for the second step of a change of
// case that an older run recorded without one, that of the step before it (the same file).
std::string_view IdentityOf(const RestoreRecord& record, std::size_t row) {
  const std::string_view identity = record.Row(row).identity;
  if (!identity.empty() || !ContinuesPreviousRow(record, row)) return identity;
  return record.Row(row - 1).identity;
}

// Whether the row's file went on from the row's new path (a temporary name on the way to
// a change of case) with the next row, and is still where that row put it: given back by
// that row first (the undo goes from the last row), it is then at this row's new path.
bool WentOnWithNextRow(const RestoreRecord& record, std::size_t row, FileSystem& file_system) {
  if (row + 1 >= record.size() || !ContinuesPreviousRow(record, row + 1)) return false;
  const std::string_view identity = IdentityOf(record, row);
  return !record.Row(row + 1).not_renamed && !identity.empty() &&
         IsSameFile(MatchOne(file_system, record.Row(row + 1).after, identity));
}

// Whether the row's file is at its old path, or for the second step of a change of case
// at the path it had before the first: where names ignore case, a name that only changes
// the case names the file at its old path too.
bool AtAnOldPath(const RestoreRecord& record, std::size_t row, FileSystem& file_system) {
  const std::string_view identity = IdentityOf(record, row);
  if (IsSameFile(MatchOne(file_system, record.Row(row).before, identity))) return true;
  return ContinuesPreviousRow(record, row) &&
         IsSameFile(MatchOne(file_system, record.Row(row - 1).before, identity));
}

}  // namespace

bool IsRowOfARun(std::string_view before, std::string_view after, const TextRules& rules) {
  return IsFullPath(before, rules) && IsFullPath(after, rules) &&
         before.find('\0') == std::string_view::npos && after.find('\0') == std::string_view::npos;
}

UndoPlan PlanUndo(const RestoreRecord& record, FileSystem& file_system, const TextRules& rules,
                  const KeepGoing& keep_going) {
  UndoPlan plan;
  if (!record.HasIdentities() || record.Overlong() || !record.Complete()) {
    plan.invalid = FirstMissingAfter(record, file_system, rules);
    if (plan.invalid) return plan;
    for (std::size_t row = record.size(); row-- > 0;) {
      if (IsMovable(record.Row(row), rules)) plan.back.push_back(row);
    }
    return plan;
  }
  // The rows are looked at, and go back, from the run's last to its first: a chain of
  // names (c to d, b to c, a to b) comes back in one undo.
  std::vector<KeyedPath> wanted;
  std::vector<std::size_t> row_of;
  for (std::size_t row = record.size(); row-- > 0;) {
    const RestoreRow recorded = record.Row(row);
    if (!IsMovable(recorded, rules)) continue;
    const std::string_view identity = IdentityOf(record, row);
    // Without an identity nothing tells the run's file from any other at that path.
    if (identity.empty()) {
      if (!recorded.not_renamed) plan.not_back.push_back({row, NotBackReason::kNoIdentity});
      continue;
    }
    wanted.push_back({recorded.after, identity});
    row_of.push_back(row);
  }
  plan.looked_at = wanted.size();
  const std::vector<FileMatch> matches = file_system.MatchFiles(wanted, keep_going);
  if (matches.size() < wanted.size()) {
    plan.stopped = true;
    plan.not_back.clear();
    return plan;
  }
  std::vector<KeyedPath>().swap(wanted);
  plan.back.reserve(matches.size());
  for (std::size_t i = 0; i < matches.size(); ++i) {
    const std::size_t row = row_of[i];
    const RestoreRow recorded = record.Row(row);
    // A row recorded as failed goes back too when its file is at its new path anyway.
    const bool at_new_path =
        IsSameFile(matches[i]) && (!recorded.not_renamed || !AtAnOldPath(record, row, file_system));
    if (at_new_path || WentOnWithNextRow(record, row, file_system)) {
      plan.back.push_back(row);
      if (matches[i] == FileMatch::kSameFileByTimes) ++plan.matched_by_times;
      continue;
    }
    if (recorded.not_renamed) continue;
    // Still at its old path: the run never moved it, or it went back already.
    if (IsSameFile(MatchOne(file_system, recorded.before, IdentityOf(record, row)))) continue;
    // The next row, the second step of a change of case, speaks for the file.
    if (row + 1 < record.size() && ContinuesPreviousRow(record, row + 1)) continue;
    plan.not_back.push_back({row, matches[i] == FileMatch::kNothing     ? NotBackReason::kMissing
                                  : matches[i] == FileMatch::kOtherFile ? NotBackReason::kReplaced
                                                                        : NotBackReason::kNoFile});
  }
  std::reverse(plan.not_back.begin(), plan.not_back.end());
  // Nothing of the run is where it went: the record was undone already, or never ran.
  if (plan.back.empty()) {
    plan.not_back.clear();
    plan.invalid = FirstMissingAfter(record, file_system, rules)
                       .value_or(std::string(record.FirstNewPath()));
  }
  return plan;
}

UndoResult RenameBack(const RestoreRecord& record, const UndoPlan& plan, FileSystem& file_system,
                      const KeepGoing& keep_going) {
  std::vector<RenamePair> pairs;
  pairs.reserve(plan.back.size());
  for (const std::size_t row : plan.back) {
    const RestoreRow recorded = record.Row(row);
    pairs.push_back({recorded.after, recorded.before});
  }
  const std::vector<RenameOutcome> outcomes = file_system.RenameEachNoReplace(pairs, keep_going);
  UndoResult result;
  result.stopped = outcomes.size() < pairs.size();
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    switch (outcomes[i]) {
      case RenameOutcome::kDone:
        ++result.done;
        break;
      case RenameOutcome::kTargetExists:
        // The file has its old name already, beside the new one: a run killed in the
        // middle of a rename by link. Dropping the new name gives it back whole.
        if (file_system.RemoveSecondName(std::string(pairs[i].from), std::string(pairs[i].to))) {
          ++result.done;
        } else {
          result.not_back.push_back({plan.back[i], NotBackReason::kOldNameTaken});
        }
        break;
      case RenameOutcome::kSourceMissing:
        result.not_back.push_back({plan.back[i], NotBackReason::kMissing});
        break;
      case RenameOutcome::kFailed:
        result.not_back.push_back({plan.back[i], NotBackReason::kRenameRefused});
        break;
    }
  }
  return result;
}

std::string UndoFailureReport(const RestoreRecord& record, std::vector<NotBack> not_back) {
  if (not_back.empty()) return {};
  std::sort(not_back.begin(), not_back.end(),
            [](const NotBack& a, const NotBack& b) { return a.row < b.row; });
  std::string report = kUndoFailureHead;
  const std::size_t named = std::min<std::size_t>(not_back.size(), kReportedFailures);
  for (std::size_t i = 0; i < named; ++i) {
    report += kLineBreak + DisplayPath(record.Row(not_back[i].row).after) +
              kNotBackReasons[static_cast<std::size_t>(not_back[i].reason)];
  }
  if (not_back.size() > named) {
    report += kLineBreak;
    report += "他" + std::to_string(not_back.size() - named) + "個";
  }
  return report;
}

std::string UndoStoppedText(std::size_t total, std::size_t done) {
  return std::string("元に戻す処理を中止しました。") + kLineBreak + std::to_string(total) +
         " 個のファイルのうち " + std::to_string(done) + " 個を元に戻しました。";
}

}  // namespace zefa
