// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/rename_list.h"

#include <algorithm>

namespace zefa {

ListColumn& RenameList::column(ColumnId id) {
  switch (id) {
    case ColumnId::kNumber:
      return number;
    case ColumnId::kPath:
      return path;
    case ColumnId::kUnique:
      return unique;
    case ColumnId::kExtension:
      break;
  }
  return extension;
}

const ListColumn& RenameList::column(ColumnId id) const {
  return const_cast<RenameList*>(this)->column(id);
}

void RenameList::AppendRow(std::string file_path, std::string unique_name,
                           std::string extension_text, std::string file_key) {
  number.entries.push_back(std::to_string(number.entries.size() + 1));
  if (!file_key.empty()) {
    ++paths_of_key_[file_key];
    key_of_path_[file_path] = std::move(file_key);
  }
  path.entries.push_back(std::move(file_path));
  unique.entries.push_back(std::move(unique_name));
  extension.entries.push_back(std::move(extension_text));
}

void RenameList::Reserve(std::size_t rows) {
  for (ListColumn* c : {&number, &path, &unique, &extension}) c->entries.reserve(rows);
  key_of_path_.reserve(rows);
  paths_of_key_.reserve(rows);
}

bool RenameList::HoldsFile(const std::string& file_key) const {
  return paths_of_key_.find(file_key) != paths_of_key_.end();
}

void RenameList::ForgetPath(const std::string& file_path) {
  const auto found = key_of_path_.find(file_path);
  if (found == key_of_path_.end()) return;
  const auto count = paths_of_key_.find(found->second);
  if (count != paths_of_key_.end() && --count->second <= 0) paths_of_key_.erase(count);
  key_of_path_.erase(found);
}

void RenameList::Clear() {
  for (ListColumn* c : {&number, &path, &unique, &extension}) *c = ListColumn{};
  key_of_path_.clear();
  paths_of_key_.clear();
}

void RenameList::DropLastNumber() {
  if (!number.entries.empty()) number.entries.pop_back();
}

void RenameList::SelectAll(int row) {
  for (ListColumn* c : {&number, &path, &unique, &extension}) c->selected = row;
}

int RowCount(const RenameList& list) {
  return std::min({list.size(), list.path.size(), list.unique.size(), list.extension.size()});
}

}  // namespace zefa
