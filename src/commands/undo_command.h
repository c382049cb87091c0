// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

/** "元に戻す": runs UndoRun; the list and the fields are not touched. */
void Undo1Click(MainState& state, const Context& context);

/**
 * Lets the user choose a restore file, confirms with its first new path, checks that
 * every recorded new path still exists, and renames each row back in ascending order,
 * never overwriting; a rename that fails is skipped. The restore file is read once.
 */
void UndoRun(const Context& context);

}  // namespace zefa
