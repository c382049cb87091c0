// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "record/undo.h"

#include <algorithm>
#include <optional>

#include "platform/file_system.h"
#include "run/rename_execution.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kUndoFailureHead = "以下のファイルを元の名前に戻せませんでした";
constexpr const char* kLineBreak = "\n\r";
// Shown after each row's path, in the order of NotBackReason.
constexpr const char* kNotBackReasons[] = {
    "（見つかりません）", "（別のファイルに置き換えられています）", "（ファイルではありません）",
    "（元の名前のファイルがあります）", "（名前を変更できません）"};

bool IsFullPath(std::string_view path, const TextRules& rules) {
  if (rules.path_style == PathStyle::kPosix) return !path.empty() && path[0] == '/';
  const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  return drive || path.starts_with("\\\\");
}

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

// Where the row's file stands when the record names no file for it (none was there when
// the run began): only the paths can tell.
FileMatch MatchWithoutIdentity(FileSystem& file_system, std::string_view path) {
  return file_system.FileExists(std::string(path)) ? FileMatch::kSameFile : FileMatch::kNothing;
}

FileMatch MatchOne(FileSystem& file_system, std::string_view path, std::string_view identity) {
  if (identity.empty()) return MatchWithoutIdentity(file_system, path);
  const std::vector<FileMatch> match = file_system.MatchFiles({KeyedPath{path, identity}});
  return match.empty() ? FileMatch::kNothing : match.front();
}

// Whether the row's file went on from the row's new path (a temporary name on the way to
// a change of case) with the next row, and is still where that row put it: given back by
// that row first (the undo goes from the last row), it is then at this row's new path.
bool WentOnWithNextRow(const RestoreRecord& record, std::size_t row, FileSystem& file_system) {
  if (row + 1 >= record.size()) return false;
  const RestoreRow recorded = record.Row(row);
  const RestoreRow next = record.Row(row + 1);
  return next.before == recorded.after && !next.not_renamed && !recorded.identity.empty() &&
         MatchOne(file_system, next.after, recorded.identity) == FileMatch::kSameFile;
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
    if (recorded.not_renamed || !IsMovable(recorded, rules)) continue;
    wanted.push_back({recorded.after, recorded.identity});
    row_of.push_back(row);
  }
  plan.looked_at = wanted.size();
  const std::vector<FileMatch> matches = file_system.MatchFiles(wanted, keep_going);
  if (matches.size() < wanted.size()) {
    plan.stopped = true;
    return plan;
  }
  std::vector<KeyedPath>().swap(wanted);
  plan.back.reserve(matches.size());
  for (std::size_t i = 0; i < matches.size(); ++i) {
    const std::size_t row = row_of[i];
    const RestoreRow recorded = record.Row(row);
    const FileMatch at_after =
        recorded.identity.empty() ? MatchWithoutIdentity(file_system, recorded.after) : matches[i];
    if (at_after == FileMatch::kSameFile || WentOnWithNextRow(record, row, file_system)) {
      plan.back.push_back(row);
      continue;
    }
    // Still at its old path: the run never moved it, or it went back already.
    if (MatchOne(file_system, recorded.before, recorded.identity) == FileMatch::kSameFile) continue;
    plan.not_back.push_back({row, at_after == FileMatch::kNothing     ? NotBackReason::kMissing
                                  : at_after == FileMatch::kOtherFile ? NotBackReason::kReplaced
                                                                      : NotBackReason::kNoFile});
  }
  std::reverse(plan.not_back.begin(), plan.not_back.end());
  // Nothing of the run is where it went: the record was undone already, or never ran.
  if (plan.back.empty()) {
    plan.not_back.clear();
    plan.invalid =
        FirstMissingAfter(record, file_system, rules).value_or(std::string(record.FirstNewPath()));
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
        result.moved.push_back(plan.back[i]);
        break;
      case RenameOutcome::kTargetExists:
        result.not_back.push_back({plan.back[i], NotBackReason::kOldNameTaken});
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

void FollowFilesBack(RenameList& list, const RestoreRecord& record, const UndoResult& result) {
  for (const std::size_t row : result.moved) {
    const RestoreRow recorded = record.Row(row);
    for (const int listed : list.RowsListing(recorded.after)) {
      list.RenamePath(listed, std::string(recorded.before));
    }
  }
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
