// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "change/row_change.h"
#include "list/rename_list.h"
#include "run/rename_plan.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/**
 * Checks every change as the run does before it starts, and marks each refused one
 * (ChangeStatus::kRefused, the first reason in the order the run checks): that the listed
 * file is still there and still a file (one look-up of all paths), that a pattern without
 * number has a unique name for every row when the common name is empty, and that no
 * bracket, unique name or extension holds a path separator ("/"; on Windows also "\\" and
 * ":"), which would move a file out of its folder. The common name is checked by
 * CheckNameChars. `plan` holds the list's changes row for row.
 */
void CheckChanges(ChangePlan& plan, const RenameList& list, const RenameRequest& request,
                  FileSystem& file_system, const TextRules& rules);

/** Whether the reason is of a file that is not there (or not the listed file) any more. */
inline bool IsFileGone(ChangeReason reason) {
  return reason == ChangeReason::kFileMissing || reason == ChangeReason::kNotAFile;
}

/**
 * The run's error box for the first separator found, in the order the run looks (the
 * opening bracket, the closing one, the unique names, the extensions): which text holds
 * which character, and for a row its number and path. "" when none was found.
 */
std::string SeparatorMessage(const ChangePlan& plan, const RenameList& list);

/**
 * The error box that stops a run before it touches a file, of the first check that fails
 * in the run's order: a listed file gone, a missing unique name, a forbidden character in
 * the common name, a separator in another part of the names. nullopt when the run may go.
 * `plan` is checked (CheckChanges).
 */
std::optional<std::string> RunStopMessage(const ChangePlan& plan, const RenameList& list,
                                          std::string_view common_name, const TextRules& rules);

/** Whether a new name cannot be given to any file: empty, "." or "..", or holding a NUL. */
bool IsRefusedName(std::string_view path, std::string_view name);

}  // namespace zefa
