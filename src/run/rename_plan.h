// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "names/compose_name.h"
#include "list/rename_list.h"
#include "text/text_rules.h"

namespace zefa {

/** Where a row of a plan stands; every state but kPlanned is the row's final outcome. */
enum class RowStatus : unsigned char {
  kPlanned,        // not executed yet
  kRenamed,        // the file now has its new path
  kUnchanged,      // the new path is the old one: nothing to do, counts as done
  kTargetExists,   // the new path was taken; nothing changed
  kSourceMissing,  // nothing at the old path any more
  kFailed,         // any other refusal of the platform
};

/** Whether the row's rename failed (and belongs in the failure report). */
bool IsFailure(RowStatus status);

/**
 * One row of a run: where the file is, where it goes and, once executed, how it went. The
 * old path is the list's own, which outlives the plan unchanged: a plan of a million rows
 * holds no second copy of the paths.
 */
struct PlannedRename {
  /** A row that only changes the case of its name, on a file system that ignores case,
   * takes two steps: to a temporary name, then on from there to its new name. */
  enum class Step : unsigned char { kWhole, kToTemporary, kFromTemporary };

  std::string_view old_path;
  std::string new_path;
  RowStatus status = RowStatus::kPlanned;
  Step step = Step::kWhole;
  int number = 0;  // the row's serial number, in the name unless the pattern has none
};

/**
 * Every row's old and new path, numbered from `start_number` (SerialNumbers: through the
 * list, or per folder); what the preview shows is what the run does.
 */
std::vector<PlannedRename> BuildRenamePlan(const RenameList& list, std::string_view common_name,
                                           int start_number, const NameSettings& settings,
                                           const TextRules& rules);

/**
 * The last of the plan's numbers of the most digits when they have more than `digits`
 * (the digit setting) pads to, so that names no longer sort in number order; nullopt when
 * every number fits.
 */
std::optional<int> NumberWiderThanDigits(const std::vector<PlannedRename>& plan, int digits);

}  // namespace zefa
