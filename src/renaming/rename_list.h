// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace zefa {

/** One list box of the main window: its entries, its selected row and its first visible row. */
struct ListColumn {
  std::vector<std::string> entries;
  int selected = -1;  // -1: no row selected
  int top = 0;

  int size() const { return static_cast<int>(entries.size()); }
  bool HasSelection() const { return selected >= 0 && selected < size(); }
};

enum class ColumnId { kNumber = 0, kPath = 1, kUnique = 2, kExtension = 3 };

/**
 * The files of the next rename run as four parallel columns: row i is entry i of every
 * column. Each column keeps its own selection, so the selections can differ after the
 * move commands. The columns always hold the same number of entries and the number
 * column reads "1" to "n".
 */
class RenameList {
 public:
  ListColumn number;
  ListColumn path;
  ListColumn unique;
  ListColumn extension;

  ListColumn& column(ColumnId id);
  const ListColumn& column(ColumnId id) const;

  int size() const { return number.size(); }
  bool empty() const { return number.entries.empty(); }

  /** Appends a row; `file_key` identifies the file for the duplicate check. */
  void AppendRow(std::string file_path, std::string unique_name, std::string extension_text,
                 std::string file_key);
  /** Makes room for `rows` rows in all, so that adding many files at once grows nothing twice. */
  void Reserve(std::size_t rows);
  /** Whether a listed file has this key (a hash look-up, not a scan). */
  bool HoldsFile(const std::string& file_key) const;
  /** Whether this very path is listed (its file may have been replaced since). */
  bool HoldsPath(const std::string& file_path) const { return key_of_path_.count(file_path) != 0; }
  /** Forgets the key of a path that left the target-path column. */
  void ForgetPath(const std::string& file_path);
  /** Empties every column and forgets every file; selections none, tops 0. */
  void Clear();
  /** Removes the last entry of the number column. */
  void DropLastNumber();

  /** Selects `row` (or none with -1) in all four columns. */
  void SelectAll(int row);

 private:
  std::unordered_map<std::string, std::string> key_of_path_;
  std::unordered_map<std::string, int> paths_of_key_;
};

/** The rows a command names: the list's rows, never past the end of any of its columns. */
int RowCount(const RenameList& list);

}  // namespace zefa
