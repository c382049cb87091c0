// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/main_state.h"
#include "names/serial_numbers.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * ListBox1Click .. ListBox4Click: the user changed the selection of `source`; the other
 * three columns follow its selected row and its first visible row (`source_top`).
 */
void ListBoxClick(MainState& state, ColumnId source, int source_top,
                  const SerialNumbers& numbers = {});

/** Copies the selected unique name into Edit1. */
void ListBox3DblClick(MainState& state);

/** Copies the file-name part of the selected path into Edit1, as text (NameInCodePage). */
void ListBox2DblClick(MainState& state, const TextRules& rules);

/** "クリア": empties the list and the three edit fields, start number 1, labels "0". */
void Button10Click(MainState& state);

/** The start number changed; `text` is SpinEdit1's text (no integer counts as 1). */
void SpinEdit1Change(MainState& state, int value);

}  // namespace zefa
