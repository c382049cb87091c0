// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "names/compose_name.h"
#include "list/rename_list.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/**
 * Why the run will not start for a row: found before any file is touched. When a row has
 * more than one, the first of this order counts, which is the order the run checks them.
 */
enum class Refusal : std::uint8_t {
  kNone,
  kFileMissing,           // nothing at the listed path any more
  kNotAFile,              // something that is no file (a folder) stands at the listed path
  kNoUniqueName,          // a pattern without number, no common name and no unique name
  kSeparatorInBracket,    // a bracket text would move every file out of its folder
  kSeparatorInUnique,     // the unique name would move the file out of its folder
  kSeparatorInExtension,  // the extension would move the file out of its folder
};

/** One row's refusal and, for a separator, the character found. */
struct RowCheck {
  Refusal refusal = Refusal::kNone;
  char found = '\0';
};

/** What the run checks of the list before it renames anything; the preview shows the same. */
struct RunChecks {
  std::vector<RowCheck> rows;   // one per row of the list
  char open_bracket_found = '\0';  // a separator in the opening bracket, else '\0'
  char close_bracket_found = '\0';
  int refused = 0;  // rows with a refusal

  /** The first row refused for one of `refusals`; -1 when none is. */
  int FirstRow(std::initializer_list<Refusal> refusals) const;
};

/**
 * Checks every row as the run does before it starts: that the listed file is still
 * there and still a file (one look-up of all paths), that a pattern without number has a
 * unique name for every row when the common name is empty, and that no bracket, unique
 * name or extension holds a path separator ("/"; on Windows also "\\" and ":"), which
 * would move a file out of its folder. The common name is checked by CheckNameChars.
 */
RunChecks CheckRun(const RenameList& list, std::string_view common_name,
                   const NameSettings& settings, FileSystem& file_system, const TextRules& rules);

/** Why the row is refused, as the preview says it; "" for a row that passes. */
std::string RefusalText(const RowCheck& check);

/** Whether the refusal is of a file that is not there (or not the listed file) any more. */
inline bool IsFileGone(Refusal refusal) {
  return refusal == Refusal::kFileMissing || refusal == Refusal::kNotAFile;
}

/**
 * The run's error box for the first separator found, in the order the run looks (the
 * opening bracket, the closing one, the unique names, the extensions): which text holds
 * which character, and for a row its number and path. "" when none was found.
 */
std::string SeparatorMessage(const RunChecks& checks, const RenameList& list);

/** Whether a new name cannot be given to any file: empty, "." or "..", or holding a NUL. */
bool IsRefusedName(std::string_view path, std::string_view name);

}  // namespace zefa
