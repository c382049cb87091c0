// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/selection_commands.h"

#include "text/name_text.h"

namespace zefa {

void ListBoxClick(MainState& state, ColumnId source, int source_top, const SerialNumbers& numbers) {
  RenameList& list = state.list;
  ListView& view = state.view;
  view.column(source).top = source_top;
  if (const int row = SelectedRow(view.column(source), list.column(source)); row >= 0) {
    view.SelectAll(row);
    // The row as the number column shows it: counted per folder, its place in its folder.
    state.unique_name_row = numbers.Text(row);
    state.extension_row = numbers.Text(view.unique.selected);
    // Text the user typed stays; text the program put there follows the selected row.
    if (!state.unique_name_typed || state.typed_unique_name.empty()) {
      state.typed_unique_name = list.unique.entries[static_cast<std::size_t>(row)];
      state.unique_name_typed = false;
    }
    if (!state.extension_typed || state.typed_extension.empty()) {
      state.typed_extension = list.extension.entries[static_cast<std::size_t>(row)];
      state.extension_typed = false;
    }
  }
  for (ColumnId id :
       {ColumnId::kNumber, ColumnId::kPath, ColumnId::kUnique, ColumnId::kExtension}) {
    view.column(id).top = source_top;
  }
}

void ListBox3DblClick(MainState& state) {
  const ListColumn& unique = state.list.unique;
  if (const int row = SelectedRow(state.view.unique, unique); row >= 0) {
    state.typed_unique_name = unique.entries[static_cast<std::size_t>(row)];
    state.unique_name_typed = false;
  }
}

void ListBox2DblClick(MainState& state, const TextRules& rules) {
  const ListColumn& path = state.list.path;
  const int row = SelectedRow(state.view.path, path);
  if (row < 0) return;
  // The field holds text: a name from a Windows archive comes as the name a run gives it.
  state.typed_unique_name = NameInCodePage(
      FileNamePart(path.entries[static_cast<std::size_t>(row)], rules), rules.code_page);
  state.unique_name_typed = false;
}

void Button10Click(MainState& state) {
  state.list.Clear();
  state.view = ListView{};
  state.typed_unique_name.clear();
  state.common_name.clear();
  state.typed_extension.clear();
  state.unique_name_typed = false;
  state.extension_typed = false;
  state.start_number = 1;
  state.unique_name_row = "0";
  state.extension_row = "0";
}

void SpinEdit1Change(MainState& state, int value) { state.start_number = value; }

}  // namespace zefa
