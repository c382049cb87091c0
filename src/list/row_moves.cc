// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/row_moves.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace zefa {
namespace {

std::size_t At(int row) { return static_cast<std::size_t>(row); }

int SelectedOrNone(const ListColumn& column) {
  return column.HasSelection() ? column.selected : -1;
}

// The column's own selected row when it can move by `step`, else `fallback`.
int RowToMove(const ListColumn& column, int step, int fallback) {
  const int own = SelectedOrNone(column);
  if (own >= 0 && own + step >= 0 && own + step < column.size()) return own;
  return fallback;
}

// Whether the move is one that does nothing at all: at the end it heads for, or in an
// empty column. A column with rows but no selection is not such a move.
bool AtEdge(const ListColumn& column, int step) {
  const int row = SelectedOrNone(column);
  if (step > 0) return row == column.size() - 1;
  return column.size() == 0 || row == 0;
}

void Exchange(ListColumn& column, int row, int step) {
  std::swap(column.entries[At(row)], column.entries[At(row + step)]);
  column.selected = row + step;
}

void EraseRow(ListColumn& column, int row) {
  if (row >= 0 && row < column.size()) column.entries.erase(column.entries.begin() + row);
  column.selected = -1;
  column.top = std::clamp(column.top, 0, std::max(0, column.size() - 1));
}

}  // namespace

MoveResult MoveRow(RenameList& list, int step) {
  if (AtEdge(list.path, step)) return MoveResult::kNothing;
  const int row = SelectedOrNone(list.path);
  if (row < 0) return MoveResult::kNoSelection;
  list.SwapPaths(row, row + step);
  list.path.selected = row + step;
  if (list.extension.size() == list.path.size()) {
    Exchange(list.extension, RowToMove(list.extension, step, row), step);
  }
  list.number.selected = RowToMove(list.number, step, row) + step;
  return MoveResult::kMoved;
}

MoveResult MoveUniqueName(RenameList& list, int step) {
  ListColumn& unique = list.unique;
  if (AtEdge(unique, step)) return MoveResult::kNothing;
  const int row = SelectedOrNone(unique);
  if (row < 0) return MoveResult::kNoSelection;
  Exchange(unique, row, step);
  return MoveResult::kMoved;
}

bool RemoveRow(RenameList& list) {
  const int row = SelectedOrNone(list.path);
  if (row < 0) return false;
  const int unique_row = SelectedOrNone(list.unique) >= 0 ? list.unique.selected : row;
  const int extension_row = SelectedOrNone(list.extension) >= 0 ? list.extension.selected : row;
  list.ErasePath(row);
  EraseRow(list.path, -1);
  EraseRow(list.unique, unique_row);
  EraseRow(list.extension, extension_row);
  list.DropLastNumber();
  EraseRow(list.number, -1);
  return true;
}

bool RemoveSelectedRows(RenameList& list) {
  if (list.selected_rows.size() < 2) return RemoveRow(list);
  std::vector<int> rows = list.selected_rows;
  std::erase_if(rows, [rows = RowCount(list)](int row) { return row < 0 || row >= rows; });
  list.EraseRows(rows);
  return true;
}

void SelectRows(RenameList& list, std::vector<int> rows, int focused) {
  if (rows.size() < 2) rows.clear();
  list.selected_rows = std::move(rows);
  list.SelectAll(focused);
}

}  // namespace zefa
