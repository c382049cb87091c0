// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

/** "元に戻す": runs UndoRun; the list and the fields are not touched. */
void Undo1Click(MainState& state, const Context& context);

/**
 * Lets the user choose a restore file, confirms with its first new path, checks the
 * record (PlanUndo) and renames the run's own files back in ascending order, never
 * overwriting; after "完了しました" the rows that could not be renamed back are named. The
 * restore file is read once.
 */
void UndoRun(const Context& context);

}  // namespace zefa
