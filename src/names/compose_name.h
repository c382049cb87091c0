// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "list/rename_list.h"
#include "text/text_rules.h"

namespace zefa {

class SettingsFile;

/**
 * Which elements make the new base name, and in which order (the setting "pattern", 1 to
 * 8). kNone stands for any other setting: no name is built from it.
 */
enum class NamePattern {
  kNone = 0,
  kCommonNumberUnique = 1,
  kCommonUniqueNumber = 2,
  kNumberCommonUnique = 3,
  kNumberUniqueCommon = 4,
  kUniqueNumberCommon = 5,
  kUniqueCommonNumber = 6,
  kUniqueCommon = 7,  // no number
  kCommonUnique = 8,  // no number
};

/** The pattern of a "pattern" setting; kNone outside 1 to 8. */
NamePattern NamePatternOf(int setting);

/** Whether a name pattern carries no serial number. */
inline bool IsPatternWithoutNumber(NamePattern pattern) {
  return pattern == NamePattern::kUniqueCommon || pattern == NamePattern::kCommonUnique;
}

/** The naming settings of one command, read once from the settings file. */
struct NameSettings {
  int digits = 1;
  NamePattern pattern = NamePattern::kCommonNumberUnique;
  std::string separator = " ";
  std::string open_bracket;     // empty unless Num_kakko is on
  std::string close_bracket;    // empty unless Num_kakko is on
  bool folder_numbers = false;  // Folder_rendo: the numbers start again in each folder
};

/**
 * Reads keta, pattern, space, Num_kakko and, only when that is on, Num_aki and Num_toji;
 * then Folder_rendo.
 */
NameSettings ReadNameSettings(const SettingsFile& settings);

/**
 * The serial number of row `row` of a run numbered from `start_number`: every command
 * that numbers rows asks here. It wraps like the 32-bit integer it is.
 */
inline int SerialNumber(int start_number, int row) {
  return static_cast<int>(static_cast<unsigned>(start_number) + static_cast<unsigned>(row));
}

/** How many digits `number` has in decimal, its minus sign counted. */
int DecimalWidth(int number);

/**
 * The new full path of row `row` with serial number `number`: the folder part of its
 * path, the base name of the pattern's elements, then the row's extension. Empty for
 * NamePattern::kNone.
 */
std::string ComposeName(const RenameList& list, int row, std::string_view common_name, int number,
                        const NameSettings& settings, const TextRules& rules);

}  // namespace zefa
