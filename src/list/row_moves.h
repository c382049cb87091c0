// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "list/rename_list.h"

namespace zefa {

// Each column has its own selection, and they can differ: the unique-name arrows with the
// link off move only the unique-name selection, and a sort leaves the unique-name and
// extension columns without one. A move or removal that changes several columns uses each
// column's own selected row; a column without a usable one (only after a sort) takes the
// target-path column's row instead, so a file's entries move and leave together, the
// columns keep one length, and no entry outside a column is ever addressed.

enum class MoveResult {
  kNothing,      // at the end the move heads for, or an empty column: nothing to do
  kNoSelection,  // the column has rows but none is selected
  kMoved,
};

/** The file of the target path's selected row (its path and extension), `step` rows on. */
MoveResult MoveRow(RenameList& list, int step);

/** The selected unique name alone, `step` rows on. */
MoveResult MoveUniqueName(RenameList& list, int step);

/** Removes the target path's selected row from every column; false when none is selected. */
bool RemoveRow(RenameList& list);

/**
 * Removes every row of the list's `selected_rows` when several are selected, else the
 * target path's selected row as RemoveRow does; false when no row is selected.
 */
bool RemoveSelectedRows(RenameList& list);

/**
 * Selects `rows` (ascending, each below the list's size) in every column, `focused` being
 * the row each column calls selected; one row or none is a plain selection.
 */
void SelectRows(RenameList& list, std::vector<int> rows, int focused);

}  // namespace zefa
