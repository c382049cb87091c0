// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/undo.h"

#include "platform/file_system.h"

namespace zefa {

RecordedRows ReadRecordedRows(const RestoreRecord& record) {
  RecordedRows rows;
  rows.count = record.Count();
  // A row without its new path ends the record's valid part, so a forged count costs nothing.
  for (int row = 0; row < rows.count; ++row) {
    const std::string_view after = record.After(row);
    if (after.empty()) break;
    rows.after.emplace_back(after);
    rows.before.emplace_back(record.Before(row));
  }
  return rows;
}

std::optional<std::string> FirstMissingAfter(const RecordedRows& rows, FileSystem& file_system) {
  if (rows.count <= 0) return std::string();
  const std::vector<bool> exist = file_system.FilesExist(rows.after);
  for (std::size_t row = 0; row < exist.size(); ++row) {
    if (!exist[row]) return rows.after[row];
  }
  if (rows.after.size() < static_cast<std::size_t>(rows.count)) return std::string();
  return std::nullopt;
}

void RenameBack(const RecordedRows& rows, FileSystem& file_system, const TextRules& rules) {
  std::vector<RenamePair> pairs;
  pairs.reserve(rows.after.size());
  for (std::size_t row = 0; row < rows.after.size(); ++row) {
    const std::string& before = rows.before[row];
    const std::string& after = rows.after[row];
    // A run never moves a file to another folder, so neither does its undo.
    if (before == after || FolderPart(before, rules) != FolderPart(after, rules)) {
      continue;
    }
    pairs.push_back({&after, &before});
  }
  file_system.RenameEachNoReplace(pairs);  // a refusal is skipped
}

}  // namespace zefa
