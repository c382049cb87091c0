// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "run/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

/** Failed rows named one by one in the failure report; the rest are counted. */
inline constexpr int kReportedFailures = 20;

/**
 * Renames every row in order from its old to its new path, never overwriting; sets each
 * status. `keep_going` hears how many renames are done; when it answers false the run
 * stops after the current rename, and the rows not reached stay kPlanned.
 */
void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system,
                       const KeepGoing& keep_going = {});

/**
 * Lets the rows of `list` follow their files after `plan` was executed (whole, in part or
 * stopped): a row whose file was renamed names its new path; every other row stays. The
 * plan's old paths are views into the list, so the plan is spent afterwards.
 */
void FollowRenamedFiles(RenameList& list, std::vector<PlannedRename>& plan);

/** How many rows of `plan` ExecuteRenamePlan would hand to the file system. */
std::size_t RenamesOf(const std::vector<PlannedRename>& plan);

/** The report of the failed rows ("" when none failed): the first 20 old paths, then "他" N "個".
 */
std::string FailureReport(const std::vector<PlannedRename>& plan);

}  // namespace zefa
