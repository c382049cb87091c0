// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/preview_command.h"

#include <algorithm>

#include "names/check_name_chars.h"
#include "run/change_pipeline.h"

namespace zefa {

std::optional<Preview> BuildPreview(const MainState& state, const Context& context) {
  return BuildPreview(state, context, ReadNameSettings(context.Settings()));
}

std::optional<Preview> BuildPreview(const MainState& state, const Context& context,
                                    const NameSettings& name_settings) {
  if (!CheckNameChars(state.edit2, context.rules.code_page, context.prompter)) return std::nullopt;
  const RenameRequest request{state.edit2, state.start_number, name_settings};
  const NameSettings& settings = request.settings;
  ChangePlan plan = PlanChanges(state.list, request, context.file_system, context.rules);
  const bool numbered =
      settings.pattern != NamePattern::kNone && !IsPatternWithoutNumber(settings.pattern);
  Preview preview(std::move(plan), context.rules, numbered ? std::max(1, settings.digits) : 0);
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
