// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "renamelist/rename_list.h"
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
};

/** Reads keta, pattern, space, Num_kakko and, only when that is on, Num_aki and Num_toji. */
NameSettings ReadNameSettings(const SettingsFile& settings);

/** The rows a run names: the list's rows, never past the end of any of its columns. */
int RowCount(const RenameList& list);

/** FolderPart of the path, found without a walk through the characters where UTF-8 allows. */
std::string_view FolderOf(std::string_view path, const TextRules& rules);

/** `text` with "00" or "0" in front when `number` is below 10 or 100 (signed tests). */
std::string PadNumber(int number, std::string_view text);
/** `text` with "0" in front when `number` is below 10. */
std::string PadTwoDigits(int number, std::string_view text);

/**
 * The new full path of row `row`: the folder part of its path, the base name of the
 * pattern's elements, then the row's extension. Empty for a pattern outside 1 to 8.
 */
std::string ComposeName(const RenameList& list, int row, std::string_view common_name, int pattern,
                        int number, int digits, std::string_view separator,
                        std::string_view open_bracket, std::string_view close_bracket,
                        const TextRules& rules);

/** Where a row of a plan stands; every state but kPlanned is the row's final outcome. */
enum class RowStatus {
  kPlanned,        // not executed yet
  kRenamed,        // the file now has its new path
  kUnchanged,      // the new path is the old one: nothing to do, counts as done
  kTargetExists,   // the new path was taken; nothing changed
  kSourceMissing,  // nothing at the old path any more
  kFailed,         // any other refusal of the platform
};

/** Whether the row's rename failed (and belongs in the failure report). */
bool IsFailure(RowStatus status);

/** One row of a run: where the file is, where it goes and, once executed, how it went. */
struct PlannedRename {
  std::string old_path;
  std::string new_path;
  RowStatus status = RowStatus::kPlanned;
};

/** Every row's old and new path, numbered from `start_number`; what the preview shows is what the
 * run does. */
std::vector<PlannedRename> BuildRenamePlan(const RenameList& list, std::string_view common_name,
                                           int start_number, const NameSettings& settings,
                                           const TextRules& rules);

}  // namespace zefa
