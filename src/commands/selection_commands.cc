// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/selection_commands.h"

#include "text/name_text.h"

namespace zefa {

void ListBoxClick(MainState& state, ColumnId source, int source_top,
                  const SerialNumbers& numbers) {
  RenameList& list = state.list;
  ListView& view = state.view;
  view.column(source).top = source_top;
  if (const int row = SelectedRow(view.column(source), list.column(source)); row >= 0) {
    view.SelectAll(row);
    // The row as the number column shows it: counted per folder, its place in its folder.
    state.label5 = numbers.Text(row);
    state.label15 = numbers.Text(view.unique.selected);
    if (state.edit1.empty()) state.edit1 = list.unique.entries[static_cast<std::size_t>(row)];
    if (state.edit3.empty()) state.edit3 = list.extension.entries[static_cast<std::size_t>(row)];
  }
  for (ColumnId id :
       {ColumnId::kNumber, ColumnId::kPath, ColumnId::kUnique, ColumnId::kExtension}) {
    view.column(id).top = source_top;
  }
}

void ListBox3DblClick(MainState& state) {
  const ListColumn& unique = state.list.unique;
  if (const int row = SelectedRow(state.view.unique, unique); row >= 0) {
    state.edit1 = unique.entries[static_cast<std::size_t>(row)];
  }
}

void ListBox2DblClick(MainState& state, const TextRules& rules) {
  const ListColumn& path = state.list.path;
  const int row = SelectedRow(state.view.path, path);
  if (row < 0) return;
  // The field holds text: a name from a Windows archive comes as the name a run gives it.
  state.edit1 = NameInCodePage(FileNamePart(path.entries[static_cast<std::size_t>(row)], rules),
                               rules.code_page);
}

void Button10Click(MainState& state) {
  state.list.Clear();
  state.view = ListView{};
  state.edit1.clear();
  state.edit2.clear();
  state.edit3.clear();
  state.start_number = 1;
  state.label5 = "0";
  state.label15 = "0";
}

void SpinEdit1Change(MainState& state, int value) { state.start_number = value; }

}  // namespace zefa
