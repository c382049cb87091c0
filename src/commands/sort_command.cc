// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/sort_command.h"

#include "list/sort_list.h"
#include "list/unique_name.h"
#include "platform/prompter.h"

namespace zefa {

void Button11Click(MainState& state, const Context& context) {
  context.prompter.Beep(BeepKind::kWarning);
  if (!context.prompter.Warn(kSortQuestion)) return;
  state.path_scroll_factor = 4;
  SortRows(state.list, state.common_name, ReadDeriveSettings(context.Settings()), context.rules);
  // The unique names and extensions are new: their columns lose their selection; the number
  // and path columns keep their selected index.
  state.view.unique.selected = -1;
  state.view.extension.selected = -1;
  state.view.selected_rows.clear();
}

}  // namespace zefa
