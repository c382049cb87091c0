// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/rename_plan.h"

#include "names/compose_name.h"
#include "names/serial_numbers.h"
#include "text/padding.h"

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
    entry.number = numbers.Of(row, start_number);
    entry.new_path = ComposeName(list, row, common_name, entry.number, settings, rules);
    plan.push_back(std::move(entry));
  }
  return plan;
}

std::optional<int> NumberWiderThanDigits(const std::vector<PlannedRename>& plan, int digits) {
  // A setting outside 2 to 6 pads nothing: every number is as wide as its digits.
  const int width = digits >= 2 && digits <= kMaxDigits ? digits : 1;
  std::optional<int> widest;
  int widest_width = width;
  for (const PlannedRename& row : plan) {
    const int row_width = DecimalWidth(row.number);
    // Of the widest numbers the last, which is the highest in a run numbered upwards.
    if (row_width > width && row_width >= widest_width) {
      widest = row.number;
      widest_width = row_width;
    }
  }
  return widest;
}

}  // namespace zefa
