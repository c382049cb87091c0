// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "commands/main_state.h"
#include "list/batch_replace.h"
#include "text/text_rules.h"

namespace zefa {

class Prompter;

inline constexpr const char* kBatchReplaceQuestion = "本当に一括置換を行いますか？";

/**
 * TForm5's Button1Click: after the warning is answered Yes and `text` passes
 * CheckNameChars, every row's extension (or unique name) becomes `text` (ReplaceColumn).
 * Returns true when the replacement was done and the dialog should close; false leaves
 * everything as it was.
 */
bool BatchReplace(MainState& state, Prompter& prompter, CodePage code_page, BatchTarget target,
                  std::string& text);

}  // namespace zefa
