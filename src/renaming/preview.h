// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>
#include <vector>

#include "renaming/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * What the preview window (TForm4) shows: a copy of the run's plan, row i of both lists
 * being row i of the rename list. The left list shows the current file name or, in
 * full-path mode, the current path; the right list the new file name.
 */
class Preview {
 public:
  Preview(std::vector<PlannedRename> rows, TextRules rules)
      : rows_(std::move(rows)), rules_(rules) {}

  int size() const { return static_cast<int>(rows_.size()); }

  /** Entry `row` of the left list ("BEFORE"). */
  std::string_view Before(int row, bool full_path) const;
  /** Entry `row` of the right list ("AFTER"): the file-name part of the new path. */
  std::string_view After(int row) const;

 private:
  std::vector<PlannedRename> rows_;
  TextRules rules_;
};

}  // namespace zefa
