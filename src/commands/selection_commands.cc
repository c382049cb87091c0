// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/selection_commands.h"

#include "text/name_text.h"

namespace zefa {

void ListBoxClick(MainState& state, ColumnId source, int source_top, const SerialNumbers& numbers) {
  RenameList& list = state.list;
  ListColumn& from = list.column(source);
  from.top = source_top;
  if (from.HasSelection()) {
    const int row = from.selected;
    list.SelectAll(row);
    // The row as the number column shows it: counted per folder, its place in its folder.
    state.label5 = numbers.Text(row);
    state.label15 = numbers.Text(list.unique.selected);
    // Text the user typed stays; text the program put there follows the selected row.
    if (!state.edit1_typed || state.edit1.empty()) {
      state.edit1 = list.unique.entries[static_cast<std::size_t>(row)];
      state.edit1_typed = false;
    }
    if (!state.edit3_typed || state.edit3.empty()) {
      state.edit3 = list.extension.entries[static_cast<std::size_t>(row)];
      state.edit3_typed = false;
    }
  }
  for (ColumnId id :
       {ColumnId::kNumber, ColumnId::kPath, ColumnId::kUnique, ColumnId::kExtension}) {
    list.column(id).top = source_top;
  }
}

void ListBox3DblClick(MainState& state) {
  const ListColumn& unique = state.list.unique;
  if (!unique.HasSelection()) return;
  state.edit1 = unique.entries[static_cast<std::size_t>(unique.selected)];
  state.edit1_typed = false;
}

void ListBox2DblClick(MainState& state, const TextRules& rules) {
  const ListColumn& path = state.list.path;
  if (!path.HasSelection()) return;
  // The field holds text: a name from a Windows archive comes as the name a run gives it.
  state.edit1 = NameInCodePage(
      FileNamePart(path.entries[static_cast<std::size_t>(path.selected)], rules), rules.code_page);
  state.edit1_typed = false;
}

void Button10Click(MainState& state) {
  state.list.Clear();
  state.edit1.clear();
  state.edit2.clear();
  state.edit3.clear();
  state.edit1_typed = false;
  state.edit3_typed = false;
  state.start_number = 1;
  state.label5 = "0";
  state.label15 = "0";
}

void SpinEdit1Change(MainState& state, int value) { state.start_number = value; }

}  // namespace zefa
