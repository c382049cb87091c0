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

/** "元に戻す": runs UndoRun on the window's list; the fields are not touched. */
void Undo1Click(MainState& state, const Context& context);

/**
 * Lets the user choose a restore file (the newest not undone comes selected), confirms with its
 * first new path, checks the record (PlanUndo) and renames the run's own files back from the run's
 * last row to its first, never overwriting. An invalid record ends with its error box alone;
 * otherwise "完了しました" (or, after a stop, how many of how many went back) is followed by the
 * rows that were not given back, each with its reason. The restore file is read once. The rows
 * of `list` whose files came back name their old paths again.
 */
void UndoRun(RenameList& list, const Context& context);

/** How an undo went, for a caller that reports it in its own way (the command line). */
struct UndoOutcome {
  bool confirmed = false;  // false: stopped while looking, or answered No; nothing renamed
  RestoreRecord record;
  UndoPlan plan;
  UndoResult result;
  std::vector<RowChange> not_back;  // every row not given back: the plan's, then the renames'
};

/**
 * The undo of UndoRun from its question on, for the restore file at `path` (the history
 * window's chosen run, or the command line's). After the renames, the record notes the
 * rows that came back (AppendUndoneRows), flushed to the disk before any completion box. The
 * rows of `list`, when given, whose files came back name their old paths again.
 */
UndoOutcome UndoRecord(const Context& context, const std::string& path, RenameList* list = nullptr);

/**
 * The undo's question: the first new path and how many files the record holds, then, for a
 * valid record without identities, that its files go back by their names alone, and how
 * many files `plan` knew by their sizes and times (their disk came back as another device).
 */
std::string UndoQuestion(const RestoreRecord& record, const UndoPlan& plan);

}  // namespace zefa
