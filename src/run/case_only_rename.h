// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "run/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * Whether `new_path` is `old_path` with only the case of its file name changed
 * ("IMG.JPG" to "IMG.jpg"), in the same folder: the same name where names ignore case.
 */
bool DiffersInCaseOnly(std::string_view old_path, std::string_view new_path,
                       const TextRules& rules);

/**
 * For each index into `changes`, whether the row changes only the case of its name and its
 * new path names the row's own file already (the same file identity): a file system that
 * ignores case (FAT, exFAT, a CIFS share) sees one name there, and refuses a rename that
 * must not replace. Rows are looked up only when their names differ in case alone.
 */
std::vector<bool> FindCaseOnlyRenames(const std::vector<RowChange>& changes,
                                      FileSystem& file_system, const TextRules& rules);

/**
 * Makes `plan` the plan that the run carries out: each change of FindCaseOnlyRenames
 * becomes two of the same row, the file to a temporary name in its folder that no file
 * holds (kept in the plan's paths), then on to its new path (ChangeStep::kToTemporary,
 * kFromTemporary), so that the restore file records where the file is between the two
 * steps. A plan without such rows is left as it is.
 */
void RouteThroughTemporaryNames(ChangePlan& plan, FileSystem& file_system, const TextRules& rules);

}  // namespace zefa
