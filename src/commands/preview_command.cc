// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/preview_command.h"

#include "renaming/check_name_chars.h"

namespace zefa {

std::optional<Preview> BuildPreview(const MainState& state, const Context& context) {
  if (!CheckNameChars(state.edit2, context.rules.code_page, context.prompter)) return std::nullopt;
  const NameSettings settings = ReadNameSettings(context.Settings());
  std::vector<PlannedRename> plan =
      BuildRenamePlan(state.list, state.edit2, state.start_number, settings, context.rules);
  std::vector<PredictedRow> predicted = SimulateRun(plan, context.file_system, context.rules);
  Preview preview(std::move(plan), std::move(predicted), context.rules);
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
