// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/find_replace_command.h"

namespace zefa {

std::string ReplaceCountText(const ReplaceScan& scan, int rows) {
  if (!scan.error().empty()) return "この条件では置換できません";
  const std::string changed = std::to_string(scan.changed_rows().size());
  if (!scan.finished()) {
    return "調べています（" + std::to_string(scan.rows_looked_at()) + " / " + std::to_string(rows) +
           " 行）… " + changed + " 行が変わります";
  }
  return std::to_string(rows) + " 行のうち " + changed + " 行が変わります";
}

bool ApplyFindReplace(MainState& state, const ReplaceScan& scan) {
  if (!scan.CanApply()) return false;
  scan.ApplyTo(state.list);
  return true;
}

}  // namespace zefa
