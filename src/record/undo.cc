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

constexpr std::string_view kUndoFailureHead = "以下のファイルを元の名前に戻せませんでした";

// The record's change of `row`, reversed: from its new path back to its old.
RowChange ChangeBack(const RestoreRecord& record, std::size_t row) {
  const RestoreRow recorded = record.Row(row);
  RowChange change;
  change.row = static_cast<std::int32_t>(row);
  change.step = ChangeStep::kBack;
  change.set_old_path(recorded.after);
  change.set_new_path(recorded.before);
  change.set_identity(recorded.identity);
  return change;
}

RowChange NotBack(const RestoreRecord& record, std::size_t row, ChangeReason reason) {
  RowChange change = ChangeBack(record, row);
  MarkChange(change, ChangeStatus::kFailed, reason);
  return change;
}

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
      if (IsMovable(record.Row(row), rules)) plan.back.push_back(ChangeBack(record, row));
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
      plan.back.push_back(ChangeBack(record, row));
      continue;
    }
    // Still at its old path: the run never moved it, or it went back already.
    if (MatchOne(file_system, recorded.before, recorded.identity) == FileMatch::kSameFile) continue;
    plan.not_back.push_back(NotBack(record, row,
                                    at_after == FileMatch::kNothing ? ChangeReason::kSourceMissing
                                    : at_after == FileMatch::kOtherFile ? ChangeReason::kReplaced
                                                                        : ChangeReason::kNoFile));
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

UndoResult RenameBack(UndoPlan& plan, FileSystem& file_system, const KeepGoing& keep_going) {
  ExecuteChanges(plan.back, file_system, keep_going);
  UndoResult result;
  for (const RowChange& change : plan.back) {
    result.done += change.status == ChangeStatus::kDone;
    result.stopped = result.stopped || change.status == ChangeStatus::kPlanned;
  }
  return result;
}

void FollowFilesBack(RenameList& list, const std::vector<RowChange>& back) {
  for (const RowChange& change : back) {
    if (change.status != ChangeStatus::kDone) continue;
    // A change back goes from the recorded new path to the old one.
    for (const int listed : list.RowsListing(change.old_path())) {
      list.RenamePath(listed, std::string(change.new_path()));
    }
  }
}

std::string UndoFailureReport(std::vector<RowChange> not_back) {
  std::sort(not_back.begin(), not_back.end(),
            [](const RowChange& a, const RowChange& b) { return a.row < b.row; });
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < not_back.size() && i < kReportedFailures; ++i) {
    // A change back goes from the recorded new path: the file is named by that path.
    lines.push_back(DisplayPath(not_back[i].old_path()) + "（" + ReasonText(not_back[i]) + "）");
  }
  return FailureList(kUndoFailureHead, lines, not_back.size());
}

std::string UndoStoppedText(std::size_t total, std::size_t done) {
  return std::string("元に戻す処理を中止しました。") + std::string(kLineBreak) +
         std::to_string(total) + " 個のファイルのうち " + std::to_string(done) +
         " 個を元に戻しました。";
}

}  // namespace zefa
