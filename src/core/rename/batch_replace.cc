// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "rename/batch_replace.h"

#include "platform/prompter.h"
#include "renamelist/check_name_chars.h"

namespace zefa {

bool BatchReplace(MainState& state, Prompter& prompter, CodePage code_page, BatchTarget target,
                  std::string& text) {
  if (!prompter.Warn(kBatchReplaceQuestion)) return false;
  if (!CheckNameChars(text, code_page, prompter)) return false;
  ListColumn& column = target == BatchTarget::kExtension ? state.list.extension : state.list.unique;
  for (int row = 0; row < state.list.size(); ++row) {
    // The dot goes into the field on the first row, so an empty list leaves the text as typed.
    if (target == BatchTarget::kExtension && !text.empty() && text.front() != '.') {
      text.insert(0, 1, '.');
    }
    column.entries[static_cast<std::size_t>(row)] = text;
  }
  return true;
}

}  // namespace zefa
