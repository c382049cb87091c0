// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "text/text_rules.h"

namespace zefa {

/** One restore file of the restore folder, as the history lists it. */
struct RestoreEntry {
  std::string path;
  std::optional<LocalTime> made;  // from its name; nullopt for a name no run gives
  int attempt = 1;                // _2, _3 … of a second run in the same second
  int rows = 0;                   // its count
  std::string folder;             // the folder of its first row's old path
  bool undone = false;            // no row's file is where the run put it (the undo's test)
};

/** The time and attempt a restore file's name holds (RestoreFileName read back). */
std::optional<std::pair<LocalTime, int>> ParseRestoreFileName(std::string_view name);

/** The ".zefa" files of `restore_folder`, newest first by the time in their names. */
std::vector<std::string> RestoreFilesNewestFirst(const std::string& restore_folder);

/** The history: every restore file of the folder, newest first, each read and checked. */
std::vector<RestoreEntry> ReadHistory(const std::string& restore_folder, FileSystem& file_system,
                                      const TextRules& rules);

}  // namespace zefa
