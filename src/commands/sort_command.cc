// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/sort_command.h"

#include "platform/prompter.h"
#include "list/sort_list.h"
#include "list/unique_name.h"

namespace zefa {

void Button11Click(MainState& state, const Context& context) {
  context.prompter.Beep(BeepKind::kWarning);
  if (!context.prompter.Warn(kSortQuestion)) return;
  state.path_scroll_factor = 4;
  SortRows(state.list, state.edit2, ReadDeriveSettings(context.Settings()), context.rules);
}

}  // namespace zefa
