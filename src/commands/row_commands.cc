// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/row_commands.h"

#include <algorithm>

#include "list/row_moves.h"
#include "names/check_name_chars.h"
#include "platform/prompter.h"
#include "settings/options.h"
#include "settings/settings_file.h"

namespace zefa {
namespace {

// A move or removal that changes several columns uses each column's own selected row; a
// column without a usable one (only after a sort) takes the target-path column's row
// instead, so a file's entries move and leave together, the columns keep one length, and
// no entry outside a column is ever addressed.

enum class MoveResult {
  kNothing,      // at the end the move heads for, or an empty column: nothing to do
  kNoSelection,  // the column has rows but none is selected
  kMoved,
};

int RowToMove(const ColumnView& view, const ListColumn& column, int step, int fallback) {
  const int own = SelectedRow(view, column);
  if (own >= 0 && own + step >= 0 && own + step < column.size()) return own;
  return fallback;
}

bool AtEdge(const ColumnView& view, const ListColumn& column, int step) {
  const int row = SelectedRow(view, column);
  if (step > 0) return row == column.size() - 1;
  return column.size() == 0 || row == 0;
}

// The file of the target path's selected row (its path and extension), `step` rows on.
MoveResult MoveFileRow(MainState& state, int step) {
  RenameList& list = state.list;
  ListView& view = state.view;
  if (AtEdge(view.path, list.path, step)) return MoveResult::kNothing;
  const int row = SelectedRow(view.path, list.path);
  if (row < 0) return MoveResult::kNoSelection;
  const int extension_row = list.extension.size() == list.path.size()
                                ? RowToMove(view.extension, list.extension, step, row)
                                : -1;
  ExchangeFileRows(list, row, extension_row, step);
  view.path.selected = row + step;
  if (extension_row >= 0) view.extension.selected = extension_row + step;
  view.number.selected = RowToMove(view.number, list.number, step, row) + step;
  view.selected_rows.clear();
  return MoveResult::kMoved;
}

// The selected unique name alone, `step` rows on.
MoveResult MoveUniqueName(MainState& state, int step) {
  ListColumn& unique = state.list.unique;
  ColumnView& view = state.view.unique;
  if (AtEdge(view, unique, step)) return MoveResult::kNothing;
  const int row = SelectedRow(view, unique);
  if (row < 0) return MoveResult::kNoSelection;
  ExchangeEntries(unique, row, step);
  view.selected = row + step;
  return MoveResult::kMoved;
}

// Every row selected together when there are several, else the target path's selected
// row; false when no row is selected.
bool RemoveSelectedRows(MainState& state) {
  RenameList& list = state.list;
  ListView& view = state.view;
  if (view.selected_rows.size() >= 2) {
    RemoveRows(list, view.selected_rows);
    view.SelectNone();
    return true;
  }
  const int row = SelectedRow(view.path, list.path);
  if (row < 0) return false;
  const int unique_row = SelectedRow(view.unique, list.unique) >= 0 ? view.unique.selected : row;
  const int extension_row =
      SelectedRow(view.extension, list.extension) >= 0 ? view.extension.selected : row;
  RemoveFileRow(list, row, unique_row, extension_row);
  for (const ColumnId id :
       {ColumnId::kNumber, ColumnId::kPath, ColumnId::kUnique, ColumnId::kExtension}) {
    ColumnView& column = view.column(id);
    column.top = std::clamp(column.top, 0, std::max(0, list.column(id).size() - 1));
  }
  view.SelectNone();
  return true;
}

void MoveFile(MainState& state, const Context& context, int step) {
  if (MoveFileRow(state, step) == MoveResult::kNoSelection) {
    context.prompter.Inform(kSelectRowForMove);
  }
}

// The unique name one row by `step`; then, with the link on, the file as well.
void MoveUnique(MainState& state, const Context& context, int step) {
  const MoveResult moved = MoveUniqueName(state, step);
  if (moved == MoveResult::kNothing) return;
  if (moved == MoveResult::kNoSelection) context.prompter.Inform(kSelectRowForMove);
  if (ReadOption(context.Settings(), &Options::arrows_move_unique)) {
    MoveFile(state, context, step);
  }
}

void ChangeSelected(ListColumn& column, const ColumnView& view, std::string& edit, bool& typed,
                    const Context& context) {
  const int row = SelectedRow(view, column);
  if (row < 0) {
    context.prompter.Inform(kSelectRowForChange);
    return;
  }
  if (!CheckNameChars(edit, context.rules.code_page, context.prompter)) return;
  column.entries[static_cast<std::size_t>(row)] = edit;
  edit.clear();
  typed = false;
}

}  // namespace

void Button7Click(MainState& state, const Context& context) { MoveFile(state, context, +1); }

void Button6Click(MainState& state, const Context& context) { MoveFile(state, context, -1); }

void Button9Click(MainState& state, const Context& context) { MoveUnique(state, context, +1); }

void Button8Click(MainState& state, const Context& context) { MoveUnique(state, context, -1); }

void Button5Click(MainState& state, const Context& context) {
  if (!RemoveSelectedRows(state)) {
    context.prompter.Inform(kSelectRowToRemove);
    return;
  }
  // No row is selected now: the labels name none, and a removed row's text the program put
  // in a field goes with it; typed text stays.
  state.unique_name_row = "0";
  state.extension_row = "0";
  if (!state.unique_name_typed) state.typed_unique_name.clear();
  if (!state.extension_typed) state.typed_extension.clear();
}

void Button1Click(MainState& state, const Context& context) {
  ChangeSelected(state.list.unique, state.view.unique, state.typed_unique_name,
                 state.unique_name_typed, context);
}

void Button14Click(MainState& state, const Context& context) {
  ChangeSelected(state.list.extension, state.view.extension, state.typed_extension,
                 state.extension_typed, context);
}

}  // namespace zefa
