// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/add_files.h"

#include "platform/file_system.h"

namespace zefa {

FileAdder::FileAdder(FileSystem& file_system, std::string executable_path, DeriveSettings settings,
                     TextRules rules)
    : file_system_(file_system),
      executable_path_(std::move(executable_path)),
      settings_(std::move(settings)),
      rules_(rules) {
  if (!executable_path_.empty()) executable_key_ = file_system_.FileKey(executable_path_);
}

bool FileAdder::NamedByListedPath(const RenameList& list, const std::string& key) {
  // A row keeps the key its file had when it was added; after a run its path names another
  // file or none, so the listed path is asked again.
  for (int row : list.RowsRecordedAs(key)) {
    if (file_system_.FileKey(list.path.entries[static_cast<std::size_t>(row)]) == key) return true;
  }
  return false;
}

AddRefusal FileAdder::Add(RenameList& list, const std::string& path, std::string_view common_name) {
  // A relative path names a file only for the process that gave it: none is listed.
  if (!IsFullPath(path, rules_)) return AddRefusal::kNotAFile;
  if (!executable_path_.empty() && path == executable_path_) return AddRefusal::kOwnProgram;
  // The program is a file, so a folder or nothing at the path cannot be it.
  std::optional<std::string> key = file_system_.ExistingFileKey(path);
  if (!key) return AddRefusal::kNotAFile;
  return AddFound(list, std::string(path), std::move(*key), common_name);
}

AddRefusal FileAdder::AddFound(RenameList& list, std::string&& path, std::string key,
                               std::string_view common_name) {
  if (!IsFullPath(path, rules_)) return AddRefusal::kNotAFile;
  if (!executable_path_.empty() && path == executable_path_) return AddRefusal::kOwnProgram;
  if (executable_key_ && key == *executable_key_) return AddRefusal::kOwnProgram;
  if (list.HoldsPath(path) || NamedByListedPath(list, key)) return AddRefusal::kAlreadyListed;
  std::string unique = DeriveUniqueName(path, common_name, settings_, rules_);
  std::string extension = ExtensionOfPath(path, rules_);
  list.AppendRow(std::move(path), std::move(unique), std::move(extension), std::move(key));
  return AddRefusal::kNone;
}

}  // namespace zefa
