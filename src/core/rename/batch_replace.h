// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "app/main_state.h"
#include "text/text_rules.h"

namespace zefa {

class Prompter;

/** The column the batch replace writes: RadioButton1 "拡張子" or RadioButton2 "固有名". */
enum class BatchTarget { kExtension, kUniqueName };

inline constexpr const char* kBatchReplaceQuestion = "本当に一括置換を行いますか？";

/**
 * TForm5's Button1Click: after the warning is answered Yes and `text` passes
 * CheckNameChars, every row's extension (or unique name) becomes `text`; row order and
 * each column's selection stay. For an extension a "." is put in front of a non-empty
 * text that lacks one, in `text` itself, as the dialog's field shows it. Returns true
 * when the replacement was done and the dialog should close; false leaves everything
 * as it was.
 */
bool BatchReplace(MainState& state, Prompter& prompter, CodePage code_page, BatchTarget target,
                  std::string& text);

}  // namespace zefa
