// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

/**
 * The folder listings behind NativeFileSystem::FileKeys, public so that a test can tell
 * whether they answered at all on the file system it runs on.
 */
namespace zefa::posix {

/** Whether the listings of `folder` give each entry the inode number that stat() gives. */
bool ListingsCarryInodes(const std::string& folder);

/**
 * The file keys that the listings of folders holding many of `paths` give, row by row;
 * empty where no listing answered (few paths in the folder, or no inode numbers there).
 */
std::vector<std::string> KeysFromListings(const std::vector<std::string_view>& paths);

}  // namespace zefa::posix
