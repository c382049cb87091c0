// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "app/main_state.h"

namespace zefa {

inline constexpr const char* kSortQuestion =
    "本当にソートしますか？\n\r※名前順に並べ替えます。固有ファイル名も初期化されます。";

/**
 * "ソート": after the warning beep and a Yes in the warning box, orders the target paths
 * (case-insensitive, numbers by value), derives every unique name and extension anew and
 * narrows the path column's scrolling width to 4. The number and path columns keep their
 * selected index; the unique-name and extension columns lose theirs.
 */
void Button11Click(MainState& state, const Context& context);

/**
 * Sorts `texts` in the collation of the user's locale: letter case ignored, digit runs
 * compared by value ("IMG_2" before "IMG_10"). Texts that collate equal keep byte order,
 * so the result does not depend on the order given.
 */
void SortByCollation(std::vector<std::string>& texts, CodePage code_page);

}  // namespace zefa
