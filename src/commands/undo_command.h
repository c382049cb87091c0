// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"
#include "record/restore_file.h"
#include "record/undo.h"

namespace zefa {

/** "元に戻す": runs UndoRun; the list and the fields are not touched. */
void Undo1Click(MainState& state, const Context& context);

/**
 * Lets the user choose a restore file, confirms with its first new path, checks the
 * record (PlanUndo) and renames the run's own files back from the run's last row to its
 * first, never overwriting. An invalid record ends with its error box alone; otherwise
 * "完了しました" (or, after a stop, how many of how many went back) is followed by the rows
 * that were not given back, each with its reason. The restore file is read once.
 */
void UndoRun(const Context& context);

/** How an undo went, for a caller that reports it in its own way (the command line). */
struct UndoOutcome {
  bool confirmed = false;  // false: the question was answered No; nothing was looked at
  RestoreRecord record;
  UndoPlan plan;
  UndoResult result;
  std::vector<RowChange> not_back;  // every row not given back: the plan's, then the renames'
};

/** UndoRun's flow after the choice of the restore file at `path`. */
UndoOutcome UndoRestoreFile(const std::string& path, const Context& context);

}  // namespace zefa
