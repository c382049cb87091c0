// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "rename/preview.h"

#include "renamelist/check_name_chars.h"

namespace zefa {

std::string_view Preview::Before(int row, bool full_path) const {
  const std::string& path = rows_[static_cast<std::size_t>(row)].old_path;
  return full_path ? std::string_view(path) : FileNamePart(path, rules_);
}

std::string_view Preview::After(int row) const {
  return FileNamePart(rows_[static_cast<std::size_t>(row)].new_path, rules_);
}

std::optional<Preview> BuildPreview(const MainState& state, const Context& context) {
  if (!CheckNameChars(state.edit2, context.rules.code_page, context.prompter)) return std::nullopt;
  const NameSettings settings = ReadNameSettings(context.Settings());
  return Preview(
      BuildRenamePlan(state.list, state.edit2, state.start_number, settings, context.rules),
      context.rules);
}

}  // namespace zefa
