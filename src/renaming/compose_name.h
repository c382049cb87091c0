// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "renaming/rename_list.h"
#include "text/text_rules.h"

namespace zefa {

class SettingsFile;

/** The naming settings of one command, read once from the settings file. */
struct NameSettings {
  int digits = 1;
  int pattern = 1;
  std::string separator = " ";
  std::string open_bracket;   // empty unless Num_kakko is on
  std::string close_bracket;  // empty unless Num_kakko is on
  bool folder_numbers = false;  // Folder_rendo: the numbers start again in each folder
};

/**
 * Reads keta, pattern, space, Num_kakko and, only when that is on, Num_aki and Num_toji;
 * then Folder_rendo.
 */
NameSettings ReadNameSettings(const SettingsFile& settings);

/** Whether a name pattern carries no serial number (7 and 8). */
inline bool IsPatternWithoutNumber(int pattern) { return pattern == 7 || pattern == 8; }

/**
 * The new full path of row `row`: the folder part of its path, the base name of the
 * pattern's elements, then the row's extension. Empty for a pattern outside 1 to 8.
 */
std::string ComposeName(const RenameList& list, int row, std::string_view common_name, int pattern,
                        int number, int digits, std::string_view separator,
                        std::string_view open_bracket, std::string_view close_bracket,
                        const TextRules& rules);

}  // namespace zefa
