// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "app/main_state.h"
#include "rename/rename_plan.h"

namespace zefa {

/** Failed rows named one by one in the failure report; the rest are counted. */
inline constexpr int kReportedFailures = 20;

/**
 * "リネーム開始": confirms, checks every file and every part of the new names, asks
 * for a restore file and writes it completely before the first rename, renames every
 * row in list order without ever overwriting, and reports completion and failures. The
 * list, the common name and the start number are left as they were.
 */
void Button2Click(MainState& state, const Context& context);

/**
 * Whether every text that goes into the new names (brackets, unique names, extensions)
 * may stand in a file name; at the first refusal CheckNameChars has shown its message.
 */
bool CheckNameParts(const RenameList& list, const NameSettings& settings, const Context& context);

/** Renames every row in order from its old to its new path, never overwriting; sets each status. */
void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system);

/** The report of the failed rows ("" when none failed): the first 20 old paths, then "他" N "個".
 */
std::string FailureReport(const std::vector<PlannedRename>& plan);

}  // namespace zefa
