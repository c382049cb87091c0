// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "list/rename_list.h"
#include "run/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * What the preview window (TForm4) shows: a copy of the run's plan, row i of both lists
 * being row i of the rename list. The left list shows the current file name or, in
 * full-path mode, the current path; the right list the new file name, and for each row
 * that the run will not rename, why.
 */
class Preview {
 public:
  /**
   * `plan` is PlanChanges' plan, row for row of the list; `digits` is the digit setting
   * when the names carry the rows' numbers, 0 when they carry none.
   */
  Preview(ChangePlan plan, TextRules rules, int digits = 0);

  int size() const { return static_cast<int>(plan_.changes.size()); }

  /** Entry `row` of the left list ("BEFORE"). */
  std::string_view Before(int row, bool full_path) const;
  /** Entry `row` of the right list ("AFTER"): the file-name part of the new path. */
  std::string_view After(int row) const;
  /** Whether the run will fail to rename row `row`. */
  bool WillFail(int row) const;
  /** Why row `row` will fail; "" when it will not. */
  std::string FailureReasonText(int row) const;
  /**
   * The lines under the lists: how many rows will fail and, while a row is listed that
   * the run refuses, that the run will not start; "" when every row will be renamed.
   */
  std::string FailureCountText() const;
  /** The line that says the widest number has more digits than the digit setting; "" if none. */
  std::string DigitsText() const;
  /** Whether the run will not start while these rows are listed. */
  bool RunRefused() const { return refused_ || file_gone_; }

  /** Gives the rows the dates the list was last ordered or named by, row for row. */
  void SetDates(std::vector<std::int64_t> dates, DateKind kind);
  /** Which date row `row` has and where it comes from; "" when none was read for it. */
  std::string DateText(int row) const;

 private:
  const RowChange& Change(int row) const { return plan_.changes[static_cast<std::size_t>(row)]; }

  ChangePlan plan_;
  bool file_gone_ = false;  // a row's file is no longer there: the run will not start
  bool refused_ = false;    // a row the run refuses before it starts
  int widest_number_ = 0;   // the number of the most digits, when wider than the setting
  bool too_wide_ = false;
  std::vector<std::int64_t> dates_;
  DateKind date_kind_ = DateKind::kNone;
  TextRules rules_;
};

}  // namespace zefa
