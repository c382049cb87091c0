// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/rename_plan.h"

#include "renaming/compose_name.h"
#include "renaming/serial_numbers.h"

namespace zefa {

bool IsFailure(RowStatus status) {
  return status == RowStatus::kTargetExists || status == RowStatus::kSourceMissing ||
         status == RowStatus::kFailed;
}

std::vector<PlannedRename> BuildRenamePlan(const RenameList& list, std::string_view common_name,
                                           int start_number, const NameSettings& settings,
                                           const TextRules& rules) {
  std::vector<PlannedRename> plan;
  const int rows = RowCount(list);
  plan.reserve(static_cast<std::size_t>(rows));
  const SerialNumbers numbers(list, settings.folder_numbers, rules);
  for (int row = 0; row < rows; ++row) {
    PlannedRename entry;
    entry.old_path = list.path.entries[static_cast<std::size_t>(row)];
    const int number = numbers.Of(row, start_number);
    entry.new_path =
        ComposeName(list, row, common_name, settings.pattern, number, settings.digits,
                    settings.separator, settings.open_bracket, settings.close_bracket, rules);
    plan.push_back(std::move(entry));
  }
  return plan;
}

}  // namespace zefa
