// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renamelist/row_commands.h"

#include <algorithm>
#include <utility>

#include "platform/prompter.h"
#include "renamelist/check_name_chars.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"

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

// The file (path and extension) of the target path's selected row, one row by `step`.
void MoveFile(MainState& state, const Context& context, int step) {
  RenameList& list = state.list;
  if (AtEdge(list.path, step)) return;
  const int row = SelectedOrNone(list.path);
  if (row < 0) {
    context.prompter.Inform(kSelectRowForMove);
    return;
  }
  Exchange(list.path, row, step);
  if (list.extension.size() == list.path.size()) {
    Exchange(list.extension, RowToMove(list.extension, step, row), step);
  }
  list.number.selected = RowToMove(list.number, step, row) + step;
}

// The unique name one row by `step`; then, with the link on, the file as well.
void MoveUniqueName(MainState& state, const Context& context, int step) {
  ListColumn& unique = state.list.unique;
  if (AtEdge(unique, step)) return;
  const int row = SelectedOrNone(unique);
  if (row < 0) {
    context.prompter.Inform(kSelectRowForMove);
  } else {
    Exchange(unique, row, step);
  }
  if (context.Settings().ReadBool(keys::kSection, keys::kUpDownButtonRendo,
                                  keys::kDefaultUpDownButtonRendo)) {
    MoveFile(state, context, step);
  }
}

void EraseRow(ListColumn& column, int row) {
  if (row >= 0 && row < column.size()) column.entries.erase(column.entries.begin() + row);
  column.selected = -1;
  column.top = std::clamp(column.top, 0, std::max(0, column.size() - 1));
}

void ChangeSelected(ListColumn& column, std::string& edit, const Context& context) {
  if (!column.HasSelection()) {
    context.prompter.Inform(kSelectRowForChange);
    return;
  }
  if (!CheckNameChars(edit, context.rules.code_page, context.prompter)) return;
  column.entries[At(column.selected)] = edit;
  edit.clear();
}

}  // namespace

void Button7Click(MainState& state, const Context& context) { MoveFile(state, context, +1); }

void Button6Click(MainState& state, const Context& context) { MoveFile(state, context, -1); }

void Button9Click(MainState& state, const Context& context) { MoveUniqueName(state, context, +1); }

void Button8Click(MainState& state, const Context& context) { MoveUniqueName(state, context, -1); }

void Button5Click(MainState& state, const Context& context) {
  RenameList& list = state.list;
  const int row = SelectedOrNone(list.path);
  if (row < 0) {
    context.prompter.Inform(kSelectRowToRemove);
    return;
  }
  const std::string removed = list.path.entries[At(row)];
  const int unique_row = SelectedOrNone(list.unique) >= 0 ? list.unique.selected : row;
  const int extension_row = SelectedOrNone(list.extension) >= 0 ? list.extension.selected : row;
  EraseRow(list.path, row);
  EraseRow(list.unique, unique_row);
  EraseRow(list.extension, extension_row);
  list.DropLastNumber();
  EraseRow(list.number, -1);
  // The file may be added again once it has left the list.
  list.ForgetPath(removed);
}

void Button1Click(MainState& state, const Context& context) {
  ChangeSelected(state.list.unique, state.edit1, context);
}

void Button14Click(MainState& state, const Context& context) {
  ChangeSelected(state.list.extension, state.edit3, context);
}

}  // namespace zefa
