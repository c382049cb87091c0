// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/batch_replace_command.h"

#include "names/check_name_chars.h"
#include "platform/prompter.h"

namespace zefa {

bool BatchReplace(MainState& state, Prompter& prompter, CodePage code_page, BatchTarget target,
                  std::string& text) {
  if (!prompter.Warn(kBatchReplaceQuestion)) return false;
  if (!CheckNameChars(text, code_page, prompter)) return false;
  ReplaceColumn(state.list, target, text);
  return true;
}

}  // namespace zefa
