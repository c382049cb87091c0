// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "change/row_change.h"
#include "list/rename_list.h"
#include "names/compose_name.h"
#include "names/serial_numbers.h"
#include "text/text_rules.h"

namespace zefa {

/** What a run is asked to make of the list: the window's common name and start number. */
struct RenameRequest {
  std::string_view common_name;
  int start_number = 1;
  NameSettings settings;  // read once from the settings file
};

/**
 * Every row's change, row for row of the list (until RouteThroughTemporaryNames gives a
 * change of case two), with the store that owns their new paths and what the checks
 * found of the run as a whole. The old paths are the list's own, which outlives the plan
 * unchanged: a plan of a million rows holds no second copy of them.
 */
struct ChangePlan {
  std::vector<RowChange> changes;
  PathStore paths;
  char open_bracket_found = '\0';  // a separator in the opening bracket, else '\0'
  char close_bracket_found = '\0';
  int refused = 0;  // changes a check before the run refuses (the run does not start)
  int failing = 0;  // changes that will not be made: refused, or failing in the play-through

  /** The first row whose change has one of `reasons`; -1 when none has. */
  int FirstRow(std::initializer_list<ChangeReason> reasons) const;
};

/**
 * Row `row`'s change, composed without touching the file system: its old path, its serial
 * number (`numbers`: SerialNumbers of the list) and its new path (ComposeName), kept in
 * `paths`. What the preview shows and the run does are made of these.
 */
RowChange ComposeChange(const RenameList& list, int row, const RenameRequest& request,
                        const SerialNumbers& numbers, const TextRules& rules, PathStore& paths);
/** As above, counting the list's serial numbers for this one row. */
RowChange ComposeChange(const RenameList& list, int row, const RenameRequest& request,
                        const TextRules& rules, PathStore& paths);

/** Every row's change (ComposeChange), unchecked. */
ChangePlan ComposeChanges(const RenameList& list, const RenameRequest& request,
                          const TextRules& rules);

/**
 * The last of the changes' numbers of the most digits when they have more than `digits`
 * (the digit setting) pads to, so that names no longer sort in number order; nullopt when
 * every number fits.
 */
std::optional<int> NumberWiderThanDigits(const std::vector<RowChange>& changes, int digits);

}  // namespace zefa
