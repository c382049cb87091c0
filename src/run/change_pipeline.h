// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

// The one pipeline of a row's change, which the preview, the run, the undo, the window's
// new names and the command line all call:
//
//   ComposeChange / ComposeChanges   list + RenameRequest -> RowChange per row  (no I/O)
//   CheckChanges                     refuses what stops the run (kRefused)
//   PlayThrough                      marks what the run will not make (kWillFail)
//     = PlanChanges
//   RunStopMessage                   the box that stops the run, in the run's order
//   RouteThroughTemporaryNames       a change of case in two steps
//   WriteRestoreFile (record/)       the record, complete before the first rename
//   ExecuteChanges                   renames; kDone / kUnchanged / kFailed
//   AppendRunOutcome (record/)       the changes not made
//   PlanUndo (record/)               the record's changes reversed (ChangeStep::kBack)
//   ExecuteChanges                   renames back
//   ReasonText, FailureList          every reason's and every failure list's text

#include "change/row_change.h"
#include "list/rename_list.h"
#include "run/case_only_rename.h"
#include "run/rename_execution.h"
#include "run/rename_plan.h"
#include "run/run_checks.h"
#include "run/run_simulation.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/** How far PlanChanges goes. */
enum class PlanDepth : std::uint8_t {
  kChecked,        // composed and checked: what the run needs before it starts
  kPlayedThrough,  // and played through: every change that will fail is marked
};

/**
 * Every row's change, composed (ComposeChanges), checked as the run checks before it
 * starts (CheckChanges) and, unless `depth` says otherwise, played through on the file
 * system (PlayThrough), with the run's own refusals and the counts in the plan.
 */
ChangePlan PlanChanges(const RenameList& list, const RenameRequest& request,
                       FileSystem& file_system, const TextRules& rules,
                       PlanDepth depth = PlanDepth::kPlayedThrough);

}  // namespace zefa
