// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/undo.h"

#include <algorithm>
#include <optional>

#include "platform/file_system.h"
#include "renaming/rename_execution.h"

namespace zefa {
namespace {

constexpr const char* kUndoFailureHead = "以下のファイルを元の名前に戻せませんでした";

bool IsFullPath(std::string_view path, const TextRules& rules) {
  if (rules.path_style == PathStyle::kPosix) return !path.empty() && path[0] == '/';
  const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  return drive || path.starts_with("\\\\");
}

// A row that the undo may rename: a run never moves a file to another folder, so neither
// does its undo.
bool IsMovable(const RecordedRows& rows, std::size_t row, const TextRules& rules) {
  const std::string_view before = rows.before[row];
  const std::string_view after = rows.after[row];
  return IsRowOfARun(before, after, rules) && before != after &&
         FolderPart(before, rules) == FolderPart(after, rules);
}

// Whether the row's file went on from the row's new path (a temporary name on the way to
// a change of case) with the next row, and is still where that row put it: given back by
// that row first, it is then at this row's new path.
bool ChainsOn(const RecordedRows& rows, std::size_t row) {
  return row + 1 < rows.after.size() && rows.before[row + 1] == rows.after[row];
}

bool WentOnWithNextRow(const RecordedRows& rows, std::size_t row, std::string_view identity,
                       FileSystem& file_system) {
  return ChainsOn(rows, row) && !rows.not_renamed[row + 1] &&
         file_system.FileKey(std::string(rows.after[row + 1])) == identity;
}

}  // namespace

RecordedRows ReadRecordedRows(const RestoreRecord& record) {
  RecordedRows rows;
  rows.count = record.Count();
  const bool identities = record.HasIdentities();
  rows.bytes = record.Bytes();
  const std::string_view bytes = rows.bytes ? std::string_view(*rows.bytes) : std::string_view();
  // A value of the file's bytes is kept as the view it is; any other is copied.
  const auto kept = [&](std::string_view value) {
    if (value.empty() || (value.data() >= bytes.data() &&
                          value.data() + value.size() <= bytes.data() + bytes.size())) {
      return value;
    }
    return std::string_view(rows.owned.emplace_back(value));
  };
  // The count may be forged: the file's size bounds the rows it can hold.
  const auto expected = static_cast<std::size_t>(std::max(0, rows.count));
  const std::size_t room = std::min(expected, bytes.size() / 4 + 16);
  rows.after.reserve(room);
  rows.before.reserve(room);
  if (identities) rows.identity.reserve(room);
  // A row without its new path ends the record's valid part, so a forged count costs nothing.
  for (int row = 0; row < rows.count; ++row) {
    const std::string_view after = record.After(row);
    if (after.empty()) break;
    const std::string_view before = record.Before(row);
    if (after.size() > kMaxRecordedPathBytes || before.size() > kMaxRecordedPathBytes) {
      rows.overlong = true;
      break;
    }
    rows.after.push_back(kept(after));
    rows.before.push_back(kept(before));
    if (identities) rows.identity.push_back(kept(record.Identity(row)));
    rows.not_renamed.push_back(identities && record.NotRenamed(row));
  }
  return rows;
}

bool IsRowOfARun(std::string_view before, std::string_view after, const TextRules& rules) {
  return IsFullPath(before, rules) && IsFullPath(after, rules) &&
         before.find('\0') == std::string_view::npos && after.find('\0') == std::string_view::npos;
}

std::optional<std::string> FirstMissingAfter(const RecordedRows& rows, FileSystem& file_system,
                                             const TextRules& rules) {
  if (rows.count <= 0 || rows.overlong) return std::string();
  std::vector<std::string> looked_at;
  std::vector<std::size_t> row_of;
  looked_at.reserve(rows.after.size());
  row_of.reserve(rows.after.size());
  for (std::size_t row = 0; row < rows.after.size(); ++row) {
    if (!IsRowOfARun(rows.before[row], rows.after[row], rules)) continue;
    looked_at.emplace_back(rows.after[row]);
    row_of.push_back(row);
  }
  // A record of which no row could come from a run (a copy from another platform) is invalid.
  if (looked_at.empty())
    return rows.after.empty() ? std::string() : std::string(rows.after.front());
  const std::vector<bool> exist = file_system.FilesExist(looked_at);
  for (std::size_t i = 0; i < exist.size(); ++i) {
    if (!exist[i]) return std::string(rows.after[row_of[i]]);
  }
  if (rows.after.size() < static_cast<std::size_t>(rows.count)) return std::string();
  return std::nullopt;
}

UndoPlan PlanUndo(const RecordedRows& rows, FileSystem& file_system, const TextRules& rules,
                  const KeepGoing& keep_going) {
  UndoPlan plan;
  if (rows.identity.empty() || rows.overlong || rows.count <= 0 ||
      rows.after.size() < static_cast<std::size_t>(rows.count)) {
    plan.invalid = FirstMissingAfter(rows, file_system, rules);
    if (plan.invalid) return plan;
    for (std::size_t row = 0; row < rows.after.size(); ++row) {
      if (IsMovable(rows, row, rules)) plan.back.push_back(row);
    }
    return plan;
  }
  const auto looked_at = [&](std::size_t row) {
    return !rows.not_renamed[row] && IsMovable(rows, row, rules);
  };
  // Usually every row is looked at: the rows and their new paths are then the record's own.
  std::size_t first_left_out = 0;
  while (first_left_out < rows.after.size() && looked_at(first_left_out)) ++first_left_out;
  const bool every_row = first_left_out == rows.after.size();
  std::vector<std::size_t> some_rows;
  std::vector<std::string_view> some_paths;
  if (!every_row) {
    for (std::size_t row = 0; row < rows.after.size(); ++row) {
      if (looked_at(row)) some_rows.push_back(row);
    }
    some_paths.reserve(some_rows.size());
    for (const std::size_t row : some_rows) some_paths.push_back(rows.after[row]);
  }
  const std::vector<std::string_view>& new_paths = every_row ? rows.after : some_paths;
  const std::vector<std::string> keys = file_system.FileKeys(new_paths, keep_going);
  if (keys.size() < new_paths.size()) return UndoPlan{};  // stopped in the progress window
  plan.back.reserve(new_paths.size());
  for (std::size_t i = 0; i < new_paths.size(); ++i) {
    const std::size_t row = every_row ? i : some_rows[i];
    const std::string_view identity = rows.identity[row];
    bool at_after = false;
    bool at_before = false;
    if (identity.empty()) {
      // No file was there when the run began: only where a file stands can tell.
      at_after = file_system.FileExists(std::string(rows.after[row]));
      at_before = !at_after && file_system.FileExists(std::string(rows.before[row]));
    } else {
      at_after = keys[i] == identity || WentOnWithNextRow(rows, row, identity, file_system);
      at_before = !at_after && file_system.FileKey(std::string(rows.before[row])) == identity;
    }
    if (at_after) {
      plan.back.push_back(row);
    } else if (!at_before) {
      plan.back.clear();
      plan.invalid = std::string(rows.after[row]);
      return plan;
    }
  }
  // Nothing of the run is where it went: the record was undone already, or never ran.
  if (plan.back.empty()) {
    plan.invalid =
        FirstMissingAfter(rows, file_system, rules).value_or(std::string(rows.after.front()));
  }
  return plan;
}

std::vector<std::size_t> RenameBack(const RecordedRows& rows, const std::vector<std::size_t>& back,
                                    FileSystem& file_system, const KeepGoing& keep_going) {
  // Two rows of one file through a temporary name go back the other way round.
  std::vector<std::size_t> order(back);
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    if (order[i + 1] == order[i] + 1 && ChainsOn(rows, order[i])) {
      std::swap(order[i], order[i + 1]);
      ++i;
    }
  }
  std::vector<RenamePair> pairs;
  pairs.reserve(order.size());
  for (const std::size_t row : order) pairs.push_back({rows.after[row], rows.before[row]});
  const std::vector<RenameOutcome> outcomes = file_system.RenameEachNoReplace(pairs, keep_going);
  std::vector<std::size_t> failed;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (outcomes[i] != RenameOutcome::kDone) failed.push_back(order[i]);
  }
  std::sort(failed.begin(), failed.end());
  return failed;
}

std::string UndoFailureReport(const RecordedRows& rows, const std::vector<std::size_t>& failed) {
  if (failed.empty()) return {};
  std::string report = kUndoFailureHead;
  const std::size_t named = std::min<std::size_t>(failed.size(), kReportedFailures);
  for (std::size_t i = 0; i < named; ++i) (report += "\n\r") += rows.after[failed[i]];
  if (failed.size() > named) report += "\n\r他" + std::to_string(failed.size() - named) + "個";
  return report;
}

}  // namespace zefa
