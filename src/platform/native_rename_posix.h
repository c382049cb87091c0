// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/file_system.h"

/**
 * The fallbacks of NativeFileSystem::RenameNoReplace for file systems that refuse
 * renameat2(RENAME_NOREPLACE). Each never replaces a file that someone else put at the
 * target; they are public so that they can be tested on any file system.
 */
namespace zefa::posix {

/** A hard link at the new name, then the old name removed; link() refuses a taken name. */
ChangeReason RenameByLink(const std::string& from, const std::string& to);

/**
 * The last resort, for file systems with neither the flag nor hard links: the new name
 * is claimed with O_CREAT|O_EXCL, then a plain rename replaces that empty placeholder.
 * A crash between the two leaves the empty placeholder behind; the moved file is never lost.
 */
ChangeReason RenameByReservation(const std::string& from, const std::string& to);

}  // namespace zefa::posix
