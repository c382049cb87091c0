// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

inline constexpr const char* kSortQuestion =
    "本当にソートしますか？\n\r※名前順に並べ替えます。固有ファイル名も初期化されます。";

/**
 * "ソート": after the warning beep and a Yes in the warning box, orders the target paths
 * (case-insensitive, numbers by value), derives every unique name and extension anew and
 * narrows the path column's scrolling width to 4.
 */
void Button11Click(MainState& state, const Context& context);

}  // namespace zefa
