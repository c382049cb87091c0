// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "run/rename_plan.h"
#include "run/run_checks.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/** Why the run will not rename a row. */
enum class FailureReason {
  kNone,              // the row will be renamed, or keeps its name
  kNameTaken,         // a file outside the list already has the new path
  kHeldByListedFile,  // a listed file still has the new path when the row's turn comes
  kSameNewPath,       // an earlier row's file has just been given the same new path
  kNameTooLong,       // the new name is longer than its folder allows
  kNameRefused,       // no file can be called that: empty, "." or ".." or a NUL byte
  kSourceGone,        // an earlier row has moved this row's file away (it is listed twice)
  kRefused,           // the run will not start while this row is listed (PredictedRow::check)
};

/** What the run will do with one row. */
struct PredictedRow {
  FailureReason reason = FailureReason::kNone;
  int other_row = -1;  // 0-based row of kHeldByListedFile and kSameNewPath, else -1
  RowCheck check;      // why the run is refused, for kRefused
};

/**
 * Plays the run through in list order, without touching a file: each row's rename goes
 * directly from its old to its new path and is refused where a file stands, as the run
 * does. `checks` (CheckRun's rows, row for row; empty: every row passes) marks the rows
 * the run refuses before it starts; every other listed file is taken to be at its old
 * path. Asks the file system once for all new paths and once per folder for its longest
 * name; the rest is hash look-ups, so the cost grows with the rows alone.
 */
std::vector<PredictedRow> SimulateRun(const std::vector<PlannedRename>& plan,
                                      const std::vector<RowCheck>& checks,
                                      FileSystem& file_system, const TextRules& rules);

/** How many rows will fail. */
int CountFailures(const std::vector<PredictedRow>& rows);

/** The reason shown to the user ("" for a row that will not fail). */
std::string FailureText(const PredictedRow& row);

}  // namespace zefa
