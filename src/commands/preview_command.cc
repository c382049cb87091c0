// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/preview_command.h"

#include "renaming/check_name_chars.h"

namespace zefa {

std::optional<Preview> BuildPreview(const MainState& state, const Context& context) {
  if (!CheckNameChars(state.edit2, context.rules.code_page, context.prompter)) return std::nullopt;
  const NameSettings settings = ReadNameSettings(context.Settings());
  return Preview(
      BuildRenamePlan(state.list, state.edit2, state.start_number, settings, context.rules),
      context.rules);
}

}  // namespace zefa
