// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/preview_command.h"

#include <algorithm>

#include "commands/common_names_command.h"
#include "run/change_pipeline.h"

namespace zefa {

std::optional<Preview> BuildPreview(const MainState& state, const Context& context) {
  return BuildPreview(state, context, ReadNameSettings(context.Settings()));
}

std::optional<Preview> BuildPreview(const MainState& state, const Context& context,
                                    const NameSettings& name_settings) {
  if (!CheckCommonNameChars(state.common_name, context)) return std::nullopt;
  std::optional<CommonNames> common_names = CommonNamesOf(state.list, state.common_name, context);
  if (!common_names) return std::nullopt;
  const RenameRequest request{state.common_name, state.start_number, name_settings, &*common_names};
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
  if (common_names->per_row()) preview.SetCommonNames(std::move(*common_names));
  return preview;
}

}  // namespace zefa
