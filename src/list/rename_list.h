// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tables/flat_table.h"

namespace zefa {

/**
 * One column of the list: its entries. A counting column stores no entries: it has
 * `counted` rows and row i reads i + 1. What a list box shows of it (its selected row, its
 * first visible row) is the window's (ListView in commands/main_state.h).
 */
struct ListColumn {
  std::vector<std::string> entries;
  int counted = -1;  // -1: the rows are `entries`

  int size() const { return counted >= 0 ? counted : static_cast<int>(entries.size()); }
  /** The text of `row`, which must be below size(). */
  std::string Text(int row) const {
    return counted >= 0 ? std::to_string(row + 1) : entries[static_cast<std::size_t>(row)];
  }
  /** Every row's text. */
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int row = 0; row < size(); ++row) texts.push_back(Text(row));
    return texts;
  }
};

enum class ColumnId { kNumber = 0, kPath = 1, kUnique = 2, kExtension = 3 };

/** The member of `four` (anything with the four columns' members) that column `id` names. */
template <typename Four>
auto& ColumnOf(Four& four, ColumnId id) {
  switch (id) {
    case ColumnId::kNumber:
      return four.number;
    case ColumnId::kPath:
      return four.path;
    case ColumnId::kUnique:
      return four.unique;
    case ColumnId::kExtension:
      break;
  }
  return four.extension;
}

/** Which date the rows were last ordered or named by. */
enum class DateKind : std::uint8_t { kNone, kTaken, kModified };
/** A row's date when its file gives none. */
inline constexpr std::int64_t kNoDate = INT64_MIN;
/** A row's date when none was read for it (it came after the reading). */
inline constexpr std::int64_t kDateUnread = INT64_MIN + 1;

/**
 * The files of the next rename run as four parallel columns: row i is entry i of every
 * column. The columns always hold the same number of rows and the number column counts
 * them, "1" to "n", without storing a text per row.
 *
 * For the duplicate check each row of the target-path column keeps a hash of its file's
 * key, and two open-addressing tables of row indices find a path or a key hash without a
 * scan: a few bytes a row, where maps of strings took hundreds.
 */
class RenameList {
 public:
  RenameList() { number.counted = 0; }

  ListColumn number;
  ListColumn path;
  ListColumn unique;
  ListColumn extension;

  ListColumn& column(ColumnId id);
  const ListColumn& column(ColumnId id) const;

  int size() const { return number.size(); }
  bool empty() const { return number.size() == 0; }

  /** Appends a row; `file_key` identifies the file for the duplicate check. */
  void AppendRow(std::string file_path, std::string unique_name, std::string extension_text,
                 std::string file_key);
  /** Makes room for `rows` rows in all, so that adding many files at once grows nothing twice. */
  void Reserve(std::size_t rows);
  /** Whether a row recorded this file key when it was added (a hash look-up, not a scan). */
  bool HoldsFile(const std::string& file_key) const { return !RowsRecordedAs(file_key).empty(); }
  /**
   * The target-path rows that recorded this file key when they were added. A file renamed
   * since keeps its key under a path that no longer names it, so the caller asks the file
   * system again before calling a file listed.
   */
  std::vector<int> RowsRecordedAs(const std::string& file_key) const;
  /** Whether this very path is listed (its file may have been replaced since). */
  bool HoldsPath(std::string_view file_path) const;
  /**
   * Gives row `row` the path its file has now, after a run or an undo moved it; the file's
   * key stays the row's, as the file is the same.
   */
  void RenamePath(int row, std::string new_path);
  /** The rows that list this very path, ascending (a hash look-up, not a scan). */
  std::vector<int> RowsListing(std::string_view file_path) const;
  /**
   * Files every row now, so that the look-ups above may then be asked from several threads
   * at once while nothing changes the list.
   */
  void PrepareLookUps() const { EnsureIndexed(); }
  /** Forgets the key of a path that left the target-path column. */
  void ForgetPath(const std::string& file_path);
  /** Empties every column and forgets every file. */
  void Clear();
  /** Removes the last row of the number column. */
  void DropLastNumber();

  /** Puts the target paths in the order `order` names (a permutation of the rows). */
  void ReorderPaths(const std::vector<std::size_t>& order);
  /** Exchanges two target paths with their file keys. */
  void SwapPaths(int a, int b);
  /** Removes one target path with its file key (the other columns are left alone). */
  void ErasePath(int row);
  /** Removes these rows (ascending, each below size()) from every column in one pass. */
  void EraseRows(const std::vector<int>& rows);

  /**
   * Keeps the date read for each target path, row for row, so that a row shows why it
   * stands where it stands; the dates follow their paths through moves and removals.
   */
  void SetRowDates(std::vector<std::int64_t> dates, DateKind kind);
  DateKind row_date_kind() const { return row_date_kind_; }
  /** The date kept for `row`: kDateUnread when none was read for it. */
  std::int64_t RowDate(int row) const;

 private:
  // Rows by hash of the path or of the file key, 4 bytes a slot.
  using Table = FlatTable<false>;

  std::uint64_t KeyHashOf(std::size_t row) const {
    return row < key_hashes_.size() ? key_hashes_[row] : 0;
  }
  void IndexRow(std::size_t row) const;
  void Rebuild(std::size_t rows) const;
  // Files every row's path anew in a table with room for `rows`; the keys stay as filed.
  void RefilePaths(std::size_t rows) const;
  void EnsureIndexed() const;

  std::vector<std::uint64_t> key_hashes_;  // per target-path row; 0: no key recorded
  // Per target-path row once a date was read; empty until then, so a list never ordered
  // by date pays nothing.
  std::vector<std::int64_t> row_dates_;
  DateKind row_date_kind_ = DateKind::kNone;
  void AlignRowDates() {
    if (!row_dates_.empty()) row_dates_.resize(path.entries.size(), kDateUnread);
  }
  // The tables follow the rows lazily: a reorder or removal marks them stale and the next
  // look-up rebuilds them in one pass.
  mutable Table path_rows_;
  mutable Table key_rows_;
  mutable std::size_t indexed_rows_ = 0;
  mutable bool stale_ = false;
};

/** The rows a command names: the list's rows, never past the end of any of its columns. */
int RowCount(const RenameList& list);

}  // namespace zefa
