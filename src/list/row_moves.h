// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "list/rename_list.h"

namespace zefa {

// The moves and removals of rows, each naming the rows it acts on. Which rows those are
// (each column's selected row, or the target path's row for a column without one) is the
// window's to say: commands/row_commands.cc.

/**
 * Exchanges the target path of `row` with that of `row + step` (with their file keys), and,
 * when `extension_row` is a row, its extension with the one `step` on: a file's entries
 * move together. Both rows of each pair are rows of their columns.
 */
void ExchangeFileRows(RenameList& list, int row, int extension_row, int step);

/** Exchanges entry `row` of `column` with entry `row + step`, both rows of the column. */
void ExchangeEntries(ListColumn& column, int row, int step);

/**
 * Removes the file of target-path row `row` from every column: its path with its file key,
 * the unique name of `unique_row` and the extension of `extension_row` (each where it is a
 * row of its column), and the last number.
 */
void RemoveFileRow(RenameList& list, int row, int unique_row, int extension_row);

/** Removes `rows` (ascending) from every column in one pass; rows past the list are left out. */
void RemoveRows(RenameList& list, std::vector<int> rows);

}  // namespace zefa
