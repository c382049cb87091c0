// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The main window's selection of several rows at once.
#include <QItemSelection>
#include <QListView>
#include <algorithm>

#include "main_window.h"

std::vector<int> TForm1::SelectedRows(const QListView* view, int& focused) {
  std::vector<int> rows;
  const QItemSelectionModel* selection = view->selectionModel();
  for (const QItemSelectionRange& range : selection->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // The focused row is the current one while it is selected (Ctrl+click can unselect it).
  const QModelIndex current = selection->currentIndex();
  focused = current.isValid() && std::binary_search(rows.begin(), rows.end(), current.row())
                ? current.row()
                : (rows.empty() ? -1 : rows.front());
  return rows;
}

void TForm1::RenderSelection(QListView* view, const zefa::ColumnView& column) {
  const int count = view->model()->rowCount();
  const bool has_selection = column.selected >= 0 && column.selected < count;
  std::vector<int> wanted;
  for (const int row : state_.view.selected_rows) {
    if (row >= 0 && row < count) wanted.push_back(row);
  }
  if (wanted.empty() && has_selection) {
    wanted.push_back(column.selected);
  }
  int focused = -1;
  QItemSelectionModel* selection = view->selectionModel();
  // A view that shows the selection already is left alone: the user may be dragging in it.
  if (SelectedRows(view, focused) == wanted &&
      (wanted.empty() ? !selection->currentIndex().isValid()
                      : selection->currentIndex().row() == column.selected)) {
    return;
  }
  if (wanted.empty()) {
    selection->clear();
    return;
  }
  QItemSelection rows;
  for (std::size_t first = 0; first < wanted.size();) {
    std::size_t last = first;
    while (last + 1 < wanted.size() && wanted[last + 1] == wanted[last] + 1) ++last;
    rows.select(view->model()->index(wanted[first], 0), view->model()->index(wanted[last], 0));
    first = last + 1;
  }
  selection->select(rows, QItemSelectionModel::ClearAndSelect);
  if (has_selection) {
    selection->setCurrentIndex(view->model()->index(column.selected, 0),
                               QItemSelectionModel::NoUpdate);
  }
}
