// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

/** "元に戻す": runs UndoRun on the window's list; the fields are not touched. */
void Undo1Click(MainState& state, const Context& context);

/**
 * Lets the user choose a restore file, confirms with its first new path, checks the
 * record (PlanUndo) and renames the run's own files back from the run's last row to its
 * first, never overwriting. An invalid record ends with its error box alone; otherwise
 * "完了しました" (or, after a stop, how many of how many went back) is followed by the rows
 * that were not given back, each with its reason. The restore file is read once. The rows
 * of `list` whose files came back name their old paths again.
 */
void UndoRun(RenameList& list, const Context& context);

}  // namespace zefa
