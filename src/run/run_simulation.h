// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "run/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/**
 * Plays the run through in list order, without touching a file, and marks each change the
 * run will not make (ChangeStatus::kWillFail, with its reason and, where one is named, the
 * other row): each row's rename goes directly from its old to its new path and is refused
 * where a file stands, as the run does. Changes refused by the checks (CheckChanges) stay
 * as they are; every other listed file is taken to be at its old path. Asks the file
 * system once for all new paths and once per folder for its longest name; the rest is hash
 * look-ups, so the cost grows with the rows alone. `plan` holds the list's changes row for
 * row.
 */
void PlayThrough(ChangePlan& plan, FileSystem& file_system, const TextRules& rules);

/**
 * The first row whose new name is longer than its folder takes, or whose old or new path
 * is longer than a restore file records (kMaxRecordedPathBytes): the run starts for none
 * of the list then, as the play-through marks it (kNameTooLong). -1 when no row is.
 */
int FirstNameTooLong(const std::vector<RowChange>& changes, FileSystem& file_system,
                     const TextRules& rules);

}  // namespace zefa
