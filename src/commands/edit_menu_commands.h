// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

inline constexpr const char* kSelectExtensionTitle = "拡張子で選択";
inline constexpr const char* kSelectExtensionLabel = "選択する拡張子（例：.MOV）：";

/** The box for an extension that no row carries: "拡張子が「.MOV」のファイルはありません。". */
std::string NoRowWithExtensionText(std::string_view extension);

/**
 * 「全選択」: every row selected in all four columns; the row selected before stays the
 * one that 変更 and the arrows act on (the first row when there was none).
 */
void SelectAll1Click(MainState& state, const SerialNumbers& numbers = {});

/**
 * 「拡張子で選択…」: asks for an extension and selects every row whose extension entry is
 * it, letter case ignored and its dot optional (".MOV", "mov" and ".mov" find the same
 * rows); the first of them is the one 変更 and the arrows act on. An empty answer or
 * cancelling does nothing; an extension that no row carries is said in a box.
 */
void SelectExtension1Click(MainState& state, const Context& context,
                           const SerialNumbers& numbers = {});

}  // namespace zefa
