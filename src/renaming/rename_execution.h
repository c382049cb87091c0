// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "renaming/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

class Prompter;

/** Failed rows named one by one in the failure report; the rest are counted. */
inline constexpr int kReportedFailures = 20;

/** The first listed path at which no file exists, in row order; null when every file is there. */
const std::string* FirstMissingFile(const RenameList& list, FileSystem& file_system);

/** The path of the first row without a unique name; null when every row has one. */
const std::string* FirstRowWithoutUniqueName(const RenameList& list);

/**
 * Whether no text that goes into the new names (brackets, unique names, extensions) would
 * move a file out of its folder: a path separator ("/"; on Windows also "\\" and ":").
 * At the first refusal the error box has said which text, or which row, holds it.
 */
bool CheckNameParts(const RenameList& list, const NameSettings& settings, const TextRules& rules,
                    Prompter& prompter);

/**
 * Renames every row in order from its old to its new path, never overwriting; sets each
 * status. `keep_going` hears how many renames are done; when it answers false the run
 * stops after the current rename, and the rows not reached stay kPlanned.
 */
void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system,
                       const KeepGoing& keep_going = {});

/** How many rows of `plan` ExecuteRenamePlan would hand to the file system. */
std::size_t RenamesOf(const std::vector<PlannedRename>& plan);

/** The report of the failed rows ("" when none failed): the first 20 old paths, then "他" N "個".
 */
std::string FailureReport(const std::vector<PlannedRename>& plan);

}  // namespace zefa
