// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "text/text_rules.h"

namespace zefa {

/** Hears one file of a folder: its path and its FileKey; false ends the walk there. */
using FolderFileFound = std::function<bool(std::string path, std::string key)>;

/**
 * Hands `found` the regular files in `folder` and in every folder below it, folder by
 * folder: a folder's own files in the sort's collation (SortByCollation), then its
 * subfolders in that collation, each with everything below it. Hidden entries (names
 * beginning with ".") are passed over, links to folders are not followed, the folder
 * whose FileKey is `left_out_key` is left out with everything below it, and a folder met
 * twice (mounted inside itself) is walked once. What could not be walked, and files whose
 * path is too long to be renamed, go to `gap` (hidden ones too are passed over). False
 * when `folder` cannot be walked.
 */
bool ForEachFileInFolder(FileSystem& file_system, const std::string& folder,
                         const std::string& left_out_key, CodePage code_page,
                         const FolderFileFound& found, const WalkGapFound& gap = {});

}  // namespace zefa
