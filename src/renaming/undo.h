// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "renaming/restore_file.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/** The rows of a restore file, read once: every look-up of the record happens here. */
struct RecordedRows {
  std::vector<std::string> before;
  std::vector<std::string> after;
  int count = 0;
};

RecordedRows ReadRecordedRows(const RestoreRecord& record);

/**
 * The first recorded new path that no longer exists, in row order; "" when the record
 * holds no rows; nullopt when every one exists.
 */
std::optional<std::string> FirstMissingAfter(const RecordedRows& rows, FileSystem& file_system);

/**
 * Renames each row back from its new to its old path in ascending order, never
 * overwriting; a rename that fails is skipped, and so is a row whose paths lie in two
 * folders, as no run moves a file to another folder.
 */
void RenameBack(const RecordedRows& rows, FileSystem& file_system, const TextRules& rules);

}  // namespace zefa
