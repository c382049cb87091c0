// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/rename_plan.h"

#include "names/compose_name.h"
#include "names/serial_numbers.h"
#include "text/padding.h"

namespace zefa {

int ChangePlan::FirstRow(std::initializer_list<ChangeReason> reasons) const {
  if (failing == 0) return -1;
  for (const RowChange& change : changes) {
    for (const ChangeReason reason : reasons) {
      if (change.reason == reason) return change.row;
    }
  }
  return -1;
}

RowChange ComposeChange(const RenameList& list, int row, const RenameRequest& request,
                        const SerialNumbers& numbers, const TextRules& rules, PathStore& paths) {
  RowChange change;
  change.row = row;
  change.set_old_path(list.path.entries[static_cast<std::size_t>(row)]);
  change.number = numbers.Of(row, request.start_number);
  change.set_new_path(paths.Keep(
      ComposeName(list, row, request.common_name, change.number, request.settings, rules)));
  return change;
}

RowChange ComposeChange(const RenameList& list, int row, const RenameRequest& request,
                        const TextRules& rules, PathStore& paths) {
  const SerialNumbers numbers(list, request.settings.folder_numbers, rules);
  return ComposeChange(list, row, request, numbers, rules, paths);
}

ChangePlan ComposeChanges(const RenameList& list, const RenameRequest& request,
                          const TextRules& rules) {
  ChangePlan plan;
  const int rows = RowCount(list);
  plan.changes.reserve(static_cast<std::size_t>(rows));
  const SerialNumbers numbers(list, request.settings.folder_numbers, rules);
  for (int row = 0; row < rows; ++row) {
    plan.changes.push_back(ComposeChange(list, row, request, numbers, rules, plan.paths));
  }
  return plan;
}

std::optional<int> NumberWiderThanDigits(const std::vector<RowChange>& changes, int digits) {
  // A setting outside 2 to 6 pads nothing: every number is as wide as its digits.
  const int width = digits >= 2 && digits <= kMaxDigits ? digits : 1;
  std::optional<int> widest;
  int widest_width = width;
  for (const RowChange& change : changes) {
    const int row_width = DecimalWidth(change.number);
    // Of the widest numbers the last, which is the highest in a run numbered upwards.
    if (row_width > width && row_width >= widest_width) {
      widest = change.number;
      widest_width = row_width;
    }
  }
  return widest;
}

}  // namespace zefa
