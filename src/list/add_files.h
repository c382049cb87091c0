// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "list/rename_list.h"
#include "list/unique_name.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;

/** Why a file was not added to the list. */
enum class AddRefusal {
  kNone,           // added
  kOwnProgram,     // the running program itself
  kNotAFile,       // nothing there, or a folder
  kAlreadyListed,  // the same file is listed already
};

/**
 * Adds files to a list, each checked against the program itself and the files already
 * listed. A file is listed when a listed path still names it, or when its path itself is
 * listed (even if the file there was replaced). "The same file" means the same
 * FileSystem::FileKey, so a link to a listed file
 * is a duplicate and two names differing only in case are two files where the file
 * system tells them apart. The settings cannot change while one command runs, so one
 * adder serves all the files of a command.
 */
class FileAdder {
 public:
  FileAdder(FileSystem& file_system, std::string executable_path, DeriveSettings settings,
            TextRules rules);

  /** Appends the file at `path` with its derived unique name and extension, or says why not. */
  AddRefusal Add(RenameList& list, const std::string& path, std::string_view common_name);
  /**
   * Add for a file whose FileKey is known already (from a folder's listing); `path` is
   * taken over only when the file is added.
   */
  AddRefusal AddFound(RenameList& list, std::string&& path, std::string key,
                      std::string_view common_name);

 private:
  bool NamedByListedPath(const RenameList& list, const std::string& key);

  FileSystem& file_system_;
  std::string executable_path_;
  std::optional<std::string> executable_key_;
  DeriveSettings settings_;
  TextRules rules_;
};

}  // namespace zefa
