// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The main window's commands on many rows at once: adding a folder, and the selection of
// several rows with its menu 編集.
#include <QAction>
#include <QItemSelection>
#include <QKeySequence>
#include <QListView>
#include <QMenu>
#include <algorithm>

#include "main_window.h"

void TForm1::BuildListMenus(QMenu* file_menu, QMenu* edit_menu) {
  const auto make = [this](const char* name, const QString& caption, void (TForm1::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  // Right after ファイルを追加 (first in ファイル without it).
  const QList<QAction*> file_items = file_menu->actions();
  qsizetype after_files = 0;
  for (qsizetype i = 0; i < file_items.size(); ++i) {
    if (file_items[i]->objectName() == QStringLiteral("AddFile1")) after_files = i + 1;
  }
  file_menu->insertAction(
      file_items.value(after_files, nullptr),
      make("AddFolder1", QStringLiteral("フォルダを追加(&D)…"), &TForm1::AddFolder1Click));

  // The selection comes first in 編集, apart from what follows it.
  QAction* first_edit = edit_menu->actions().value(0, nullptr);
  QAction* select_all = make("SelectAll1", QStringLiteral("全選択(&A)"), &TForm1::SelectAll1Click);
  select_all->setShortcut(QKeySequence::SelectAll);
  edit_menu->insertAction(first_edit, select_all);
  edit_menu->insertAction(first_edit, make("SelectExtension1", QStringLiteral("拡張子で選択(&X)…"),
                                           &TForm1::SelectExtension1Click));
  if (first_edit != nullptr) edit_menu->insertSeparator(first_edit);
}

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

void TForm1::RenderSelection(QListView* view, const zefa::ListColumn& column) {
  const int count = view->model()->rowCount();
  std::vector<int> wanted;
  for (const int row : state_.list.selected_rows) {
    if (row >= 0 && row < count) wanted.push_back(row);
  }
  if (wanted.empty() && column.HasSelection() && column.selected < count) {
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
  if (column.HasSelection() && column.selected < count) {
    selection->setCurrentIndex(view->model()->index(column.selected, 0),
                               QItemSelectionModel::NoUpdate);
  }
}
