// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "list/rename_list.h"

namespace zefa {

/** The column the batch replace writes: RadioButton1 "拡張子" or RadioButton2 "固有名". */
enum class BatchTarget { kExtension, kUniqueName };

/**
 * Every row's extension (or unique name) becomes `text`; row order and each column's
 * selection stay. For an extension a "." is put in front of a non-empty text that lacks
 * one, in `text` itself, as the dialog's field shows it, once there is a row to write.
 */
void ReplaceColumn(RenameList& list, BatchTarget target, std::string& text);

}  // namespace zefa
