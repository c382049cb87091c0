// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/row_moves.h"

#include <algorithm>
#include <utility>

namespace zefa {
namespace {

std::size_t At(int row) { return static_cast<std::size_t>(row); }

void EraseEntry(ListColumn& column, int row) {
  if (row >= 0 && row < column.size()) column.entries.erase(column.entries.begin() + row);
}

}  // namespace

void ExchangeEntries(ListColumn& column, int row, int step) {
  std::swap(column.entries[At(row)], column.entries[At(row + step)]);
}

void ExchangeFileRows(RenameList& list, int row, int extension_row, int step) {
  list.SwapPaths(row, row + step);
  if (extension_row >= 0) ExchangeEntries(list.extension, extension_row, step);
}

void RemoveFileRow(RenameList& list, int row, int unique_row, int extension_row) {
  list.ErasePath(row);
  EraseEntry(list.unique, unique_row);
  EraseEntry(list.extension, extension_row);
  list.DropLastNumber();
}

void RemoveRows(RenameList& list, std::vector<int> rows) {
  std::erase_if(rows, [count = RowCount(list)](int row) { return row < 0 || row >= count; });
  list.EraseRows(rows);
}

}  // namespace zefa
