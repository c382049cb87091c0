// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

inline constexpr const char* kSelectRowForMove = "選択してください。";
inline constexpr const char* kSelectRowForChange = "選択してください";
inline constexpr const char* kSelectRowToRemove = "除外するファイルを選択してください";

/** "↓" under the target paths: the file (path and extension) one row down. */
void Button7Click(MainState& state, const Context& context);
/** "↑" under the target paths: the file one row up. */
void Button6Click(MainState& state, const Context& context);
/** "↓" under the unique names; then the file too when `UpDownButton_rendo` is on. */
void Button9Click(MainState& state, const Context& context);
/** "↑" under the unique names; then the file too when `UpDownButton_rendo` is on. */
void Button8Click(MainState& state, const Context& context);
/** "除外": removes the selected row, or every selected row; afterwards nothing is selected. */
void Button5Click(MainState& state, const Context& context);
/** "変更" beside Edit1: the selected row's unique name becomes Edit1's text, checked. */
void Button1Click(MainState& state, const Context& context);
/** "変更" beside Edit3: the selected row's extension becomes Edit3's text, checked. */
void Button14Click(MainState& state, const Context& context);

}  // namespace zefa
