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
    if (!IsMovable(recorded, rules)) continue;
    const std::string_view identity = IdentityOf(record, row);
    // Without an identity nothing tells the run's file from any other at that path.
    if (identity.empty()) {
      if (!recorded.not_renamed) {
        plan.not_back.push_back(NotBack(record, row, ChangeReason::kNoIdentity));
      }
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
      plan.back.push_back(ChangeBack(record, row));
      if (matches[i] == FileMatch::kSameFileByTimes) ++plan.matched_by_times;
      continue;
    }
    if (recorded.not_renamed) continue;
    // Still at its old path: the run never moved it, or it went back already.
    if (IsSameFile(MatchOne(file_system, recorded.before, IdentityOf(record, row)))) continue;
    // The next row, the second step of a change of case, speaks for the file.
    if (row + 1 < record.size() && ContinuesPreviousRow(record, row + 1)) continue;
    plan.not_back.push_back(NotBack(record, row,
                                    matches[i] == FileMatch::kNothing ? ChangeReason::kSourceMissing
                                    : matches[i] == FileMatch::kOtherFile ? ChangeReason::kReplaced
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
  for (RowChange& change : plan.back) {
    // The file has its old name already, beside the new one: a run killed in the middle
    // of a rename by link. Dropping the new name gives it back whole.
    if (change.reason == ChangeReason::kTargetExists &&
        file_system.RemoveSecondName(std::string(change.old_path()),
                                     std::string(change.new_path()))) {
      change.status = ChangeStatus::kDone;
      change.reason = ChangeReason::kNone;
    }
    result.done += change.status == ChangeStatus::kDone;
    result.stopped = result.stopped || change.status == ChangeStatus::kPlanned;
  }
  return result;
}

void FollowFilesBack(RenameList& list, const std::vector<RowChange>& back) {
  RowsToFollow(list, back).Follow(list, back);
}

RowsToFollow::RowsToFollow(const RenameList& list, const std::vector<RowChange>& back)
    : first_(back.size(), -1) {
  list.PrepareLookUps();
  finder_ = std::thread([this, &list, &back] {
    for (std::size_t i = 0; i < back.size(); ++i) {
      // A change back goes from the recorded new path, where the list names the file.
      const std::vector<int> rows = list.RowsListing(back[i].old_path());
      if (rows.empty()) continue;
      first_[i] = rows.front();
      for (std::size_t more = 1; more < rows.size(); ++more) further_.emplace_back(i, rows[more]);
    }
  });
}

RowsToFollow::~RowsToFollow() {
  if (finder_.joinable()) finder_.join();
}

void RowsToFollow::Follow(RenameList& list, const std::vector<RowChange>& back) {
  if (finder_.joinable()) finder_.join();
  auto further = further_.begin();
  for (std::size_t i = 0; i < back.size() && i < first_.size(); ++i) {
    const RowChange& change = back[i];
    const std::string_view from = change.old_path();
    bool followed = false;
    // A row found before the undo follows when it still names the file's path: a change
    // made before this one may have moved it.
    const auto follow = [&](int row) {
      if (change.status != ChangeStatus::kDone || row < 0 || list.path.entries[row] != from) return;
      list.RenamePath(row, std::string(change.new_path()));
      followed = true;
    };
    follow(first_[i]);
    for (; further != further_.end() && further->first == i; ++further) follow(further->second);
    // A path that a change made before this one has just filled (the second step of a
    // change of case, from its temporary name) is looked up now.
    if (!followed && change.status == ChangeStatus::kDone) {
      for (const int listed : list.RowsListing(from)) {
        list.RenamePath(listed, std::string(change.new_path()));
      }
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
