// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "change/row_change.h"
#include "list/rename_list.h"
#include "platform/file_system.h"
#include "record/restore_file.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * Whether a row holds what a run records: two full paths without NUL bytes. Any other row
 * is skipped, unlooked at, as no run could have made it.
 */
bool IsRowOfARun(std::string_view before, std::string_view after, const TextRules& rules);

/** What an undo does with a record. */
struct UndoPlan {
  /** The new path that the invalid-file box names; nullopt when the record is valid. */
  std::optional<std::string> invalid;
  /**
   * The record's changes to make back, reversed (from the recorded new path to the old
   * one, ChangeStep::kBack, the record's row and identity), from the run's last row to
   * its first.
   */
  std::vector<RowChange> back;
  /** The rows whose files were found at neither place, reversed likewise and kFailed
   * with their reason, ascending. */
  std::vector<RowChange> not_back;
  /** How many rows were to be looked at; with `stopped`, the check was stopped there. */
  std::size_t looked_at = 0;
  bool stopped = false;
  /**
   * How many changes of `back` were known by their size and times alone, their disk having
   * come back under another device (FileMatch::kSameFileByTimes).
   */
  std::size_t matched_by_times = 0;
};

/**
 * Decides the undo. A record with identities: a row whose recorded file is at its new path
 * goes back, also when the record says it was not moved; any other row recorded as not
 * moved is skipped; one whose file is still at its old path is skipped; a row whose file
 * is at neither place, and a row without an identity, stays as it is and is named in
 * `not_back`. A record in which no row's file is at its new path is invalid. A record
 * without them: invalid when a recorded new path is missing, else every row goes back.
 * Either way a row whose paths are equal or lie in two folders is skipped, as no run
 * moves a file elsewhere. `keep_going` hears how many rows are checked; false stops the
 * check with nothing to do.
 */
UndoPlan PlanUndo(const RestoreRecord& record, FileSystem& file_system, const TextRules& rules,
                  const KeepGoing& keep_going = {});

struct UndoResult {
  std::size_t done = 0;
  bool stopped = false;
};

/**
 * Makes the plan's changes back (ExecuteChanges), from their new to their old paths in
 * the plan's order, never overwriting; each change of `plan.back` ends kDone, or kFailed
 * with its reason. A file found under its old name beside its new one (a run killed in
 * the middle of a rename by link) loses the new name (FileSystem::RemoveSecondName).
 * `keep_going` as for ExecuteChanges.
 */
UndoResult RenameBack(UndoPlan& plan, FileSystem& file_system, const KeepGoing& keep_going = {});

/**
 * Lets the rows of `list` that name a file the undo gave back (a change of `back` made,
 * kDone) name its old path again; every other row stays as it is.
 */
void FollowFilesBack(RenameList& list, const std::vector<RowChange>& back);

/**
 * FollowFilesBack in two halves: the rows of `list` that name each change's file are
 * looked up on a second thread from the moment this is made, while the files are renamed
 * back on this one; Follow() then only renames the rows. `list` and the changes' paths
 * stay as they are until then.
 */
class RowsToFollow {
 public:
  RowsToFollow(const RenameList& list, const std::vector<RowChange>& back);
  RowsToFollow(const RowsToFollow&) = delete;
  RowsToFollow& operator=(const RowsToFollow&) = delete;
  ~RowsToFollow();

  /** Lets the rows of the changes made (kDone) name their old paths again. */
  void Follow(RenameList& list, const std::vector<RowChange>& back);

 private:
  std::vector<int> first_;                            // each change's first row; -1: none
  std::vector<std::pair<std::size_t, int>> further_;  // a change's further rows, in order
  std::thread finder_;
};

/**
 * The report of the rows that were not given back their names ("" when none): a first
 * line, then the new paths of the first 20 in row order, each with its reason, as every
 * message shows paths (DisplayPath), then "他" N "個".
 */
std::string UndoFailureReport(std::vector<RowChange> not_back);

/** "元に戻す処理を中止しました。" with how many of how many files went back. */
std::string UndoStoppedText(std::size_t total, std::size_t done);

}  // namespace zefa
