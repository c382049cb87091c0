// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "renaming/restore_file.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * The rows of a restore file, read once: every look-up of the record happens here. The
 * values are views into the file's bytes, which the rows keep, and into `owned` for the
 * values that had to be decoded; a million rows hold no second copy of their paths.
 */
struct RecordedRows {
  RecordedRows() = default;
  RecordedRows(RecordedRows&&) = default;
  RecordedRows& operator=(RecordedRows&&) = default;
  RecordedRows(const RecordedRows&) = delete;
  RecordedRows& operator=(const RecordedRows&) = delete;

  std::vector<std::string_view> before;
  std::vector<std::string_view> after;
  /** Each row's file identity, "" when not recorded; empty for a record without them. */
  std::vector<std::string_view> identity;
  /** The rows that the run recorded as not moved (failed, or never reached). */
  std::vector<bool> not_renamed;
  int count = 0;
  /** A value longer than any path a run records: the record is invalid as a whole. */
  bool overlong = false;
  std::shared_ptr<const std::string> bytes;
  std::deque<std::string> owned;
};

RecordedRows ReadRecordedRows(const RestoreRecord& record);

/**
 * The first recorded new path that no longer exists, in row order; "" when the record
 * holds no rows; nullopt when every one exists. Rows that the undo never touches (see
 * IsRowOfARun) are not looked at.
 */
std::optional<std::string> FirstMissingAfter(const RecordedRows& rows, FileSystem& file_system,
                                             const TextRules& rules);

/**
 * Whether a row holds what a run records: two full paths without NUL bytes. Any other row
 * is skipped, unlooked at, as no run could have made it.
 */
bool IsRowOfARun(std::string_view before, std::string_view after, const TextRules& rules);

/** What an undo does with a record. */
struct UndoPlan {
  /** The new path that the invalid-file box names; nullopt when the record is valid. */
  std::optional<std::string> invalid;
  /** The rows to rename back, ascending. */
  std::vector<std::size_t> back;
};

/**
 * Decides the undo. A record with identities: a row recorded as not moved is skipped; a
 * row whose recorded file is at its new path goes back; one whose file is still at its
 * old path is skipped; a row whose file is at neither place makes the record invalid, and
 * so does a record in which no row's file is at its new path. A record without them: invalid
 * when a recorded new path is missing, else every row goes back. Either way a row whose
 * paths are equal or lie in two folders is skipped, as no run moves a file elsewhere.
 * `keep_going` hears how many rows are checked; false ends the check with nothing to do.
 */
UndoPlan PlanUndo(const RecordedRows& rows, FileSystem& file_system, const TextRules& rules,
                  const KeepGoing& keep_going = {});

/**
 * Renames the planned rows back from their new to their old paths in ascending order,
 * never overwriting; returns the rows whose rename failed. `keep_going` as for
 * FileSystem::RenameEachNoReplace.
 */
std::vector<std::size_t> RenameBack(const RecordedRows& rows, const std::vector<std::size_t>& back,
                                    FileSystem& file_system, const KeepGoing& keep_going = {});

/**
 * The report of the rows that could not be given back their names ("" when none): a
 * first line, then the new paths of the first 20, then "他" N "個".
 */
std::string UndoFailureReport(const RecordedRows& rows, const std::vector<std::size_t>& failed);

}  // namespace zefa
