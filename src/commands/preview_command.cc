// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/preview_command.h"

#include <algorithm>

#include "names/check_name_chars.h"
#include "run/run_checks.h"

namespace zefa {

std::optional<Preview> BuildPreview(const MainState& state, const Context& context) {
  if (!CheckNameChars(state.edit2, context.rules.code_page, context.prompter)) return std::nullopt;
  const NameSettings settings = ReadNameSettings(context.Settings());
  std::vector<PlannedRename> plan =
      BuildRenamePlan(state.list, state.edit2, state.start_number, settings, context.rules);
  const RunChecks checks =
      CheckRun(state.list, state.edit2, settings, context.file_system, context.rules);
  std::vector<PredictedRow> predicted =
      SimulateRun(plan, checks.rows, context.file_system, context.rules);
  const bool numbered =
      settings.pattern != NamePattern::kNone && !IsPatternWithoutNumber(settings.pattern);
  Preview preview(std::move(plan), std::move(predicted), context.rules,
                  numbered ? std::max(1, settings.digits) : 0);
  if (state.list.row_date_kind() != DateKind::kNone) {
    std::vector<std::int64_t> dates(static_cast<std::size_t>(preview.size()));
    for (std::size_t row = 0; row < dates.size(); ++row) {
      dates[row] = state.list.RowDate(static_cast<int>(row));
    }
    preview.SetDates(std::move(dates), state.list.row_date_kind());
  }
  return preview;
}

}  // namespace zefa
