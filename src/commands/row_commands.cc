// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/row_commands.h"

#include "list/row_moves.h"
#include "names/check_name_chars.h"
#include "platform/prompter.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace zefa {
namespace {

void MoveFile(MainState& state, const Context& context, int step) {
  if (MoveRow(state.list, step) == MoveResult::kNoSelection) {
    context.prompter.Inform(kSelectRowForMove);
  }
}

// The unique name one row by `step`; then, with the link on, the file as well.
void MoveUnique(MainState& state, const Context& context, int step) {
  const MoveResult moved = MoveUniqueName(state.list, step);
  if (moved == MoveResult::kNothing) return;
  if (moved == MoveResult::kNoSelection) context.prompter.Inform(kSelectRowForMove);
  if (context.Settings().ReadBool(keys::kSection, keys::kUpDownButtonRendo,
                                  keys::kDefaultUpDownButtonRendo)) {
    MoveFile(state, context, step);
  }
}

void ChangeSelected(ListColumn& column, std::string& edit, bool& typed, const Context& context) {
  if (!column.HasSelection()) {
    context.prompter.Inform(kSelectRowForChange);
    return;
  }
  if (!CheckNameChars(edit, context.rules.code_page, context.prompter)) return;
  column.entries[static_cast<std::size_t>(column.selected)] = edit;
  edit.clear();
  typed = false;
}

}  // namespace

void Button7Click(MainState& state, const Context& context) { MoveFile(state, context, +1); }

void Button6Click(MainState& state, const Context& context) { MoveFile(state, context, -1); }

void Button9Click(MainState& state, const Context& context) { MoveUnique(state, context, +1); }

void Button8Click(MainState& state, const Context& context) { MoveUnique(state, context, -1); }

void Button5Click(MainState& state, const Context& context) {
  if (!RemoveSelectedRows(state.list)) {
    context.prompter.Inform(kSelectRowToRemove);
    return;
  }
  // No row is selected now: the labels name none, and a removed row's text the program put
  // in a field goes with it; typed text stays.
  state.label5 = "0";
  state.label15 = "0";
  if (!state.edit1_typed) state.edit1.clear();
  if (!state.edit3_typed) state.edit3.clear();
}

void Button1Click(MainState& state, const Context& context) {
  ChangeSelected(state.list.unique, state.edit1, state.edit1_typed, context);
}

void Button14Click(MainState& state, const Context& context) {
  ChangeSelected(state.list.extension, state.edit3, state.edit3_typed, context);
}

}  // namespace zefa
