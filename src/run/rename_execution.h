// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "change/row_change.h"
#include "list/rename_list.h"
#include "platform/file_system.h"

namespace zefa {

/**
 * Makes every change in order from its old to its new path, never overwriting, and sets
 * each one's status (kDone, kUnchanged, or kFailed with the platform's reason). A change
 * refused by the checks is never made; one the play-through found failing is tried all
 * the same, and the platform decides. A change of case in two steps (ChangeStep) is made
 * as one: when its second step is refused the file goes back to its old name. The
 * run's changes and the undo's go through here alike. `keep_going` hears how many renames
 * are done; when it answers false the run stops after the current rename, and the
 * changes not reached stay kPlanned.
 */
void ExecuteChanges(std::vector<RowChange>& changes, FileSystem& file_system,
                    const KeepGoing& keep_going = {});

/**
 * Lets the rows of `list` follow their files after `changes` were executed (whole, in part
 * or stopped): a row whose file was renamed names its new path; every other row stays.
 * The changes' old paths are views into the list, so they are spent afterwards.
 */
void FollowRenamedFiles(RenameList& list, std::vector<RowChange>& changes);

/** How many of `changes` ExecuteChanges would hand to the file system. */
std::size_t RenamesOf(const std::vector<RowChange>& changes);

/**
 * The report of the run's failed changes ("" when none failed): a first line, the first
 * 20 old paths (a change of case in two steps named once, by the list's path), then "他" N
 * "個".
 */
std::string FailureReport(const std::vector<RowChange>& changes);

}  // namespace zefa
