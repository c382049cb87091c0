// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/rename_list.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace zefa {
namespace {

std::uint64_t HashOf(std::string_view text) {
  const std::uint64_t hash = std::hash<std::string_view>{}(text);
  return hash == 0 ? 1 : hash;  // 0 stands for "no key"
}

}  // namespace

ListColumn& RenameList::column(ColumnId id) { return ColumnOf(*this, id); }

const ListColumn& RenameList::column(ColumnId id) const { return ColumnOf(*this, id); }

void RenameList::AppendRow(std::string file_path, std::string unique_name,
                           std::string extension_text, std::string file_key) {
  EnsureIndexed();
  ++number.counted;
  key_hashes_.resize(path.entries.size(), 0);
  key_hashes_.push_back(file_key.empty() ? 0 : HashOf(file_key));
  AlignRowDates();
  path.entries.push_back(std::move(file_path));
  if (!row_dates_.empty()) row_dates_.push_back(kDateUnread);
  unique.entries.push_back(std::move(unique_name));
  extension.entries.push_back(std::move(extension_text));
  const std::size_t rows = path.entries.size();
  // At most half full, so that a probe ends after a slot or two; renamed rows take room too.
  if (rows > key_rows_.capacity() || path_rows_.size() >= path_rows_.capacity()) {
    Rebuild(rows);
  } else {
    IndexRow(rows - 1);
    indexed_rows_ = rows;
  }
}

void RenameList::Reserve(std::size_t rows) {
  for (ListColumn* c : {&path, &unique, &extension}) c->entries.reserve(rows);
  key_hashes_.reserve(rows);
  if (rows > path_rows_.capacity()) {
    EnsureIndexed();
    Rebuild(rows);
  }
}

void RenameList::IndexRow(std::size_t row) const {
  path_rows_.Add(HashOf(path.entries[row]), row);
  if (const std::uint64_t key = KeyHashOf(row); key != 0) key_rows_.Add(key, row);
}

void RenameList::Rebuild(std::size_t rows) const {
  path_rows_ = Table(rows);
  key_rows_ = Table(rows);
  indexed_rows_ = path.entries.size();
  for (std::size_t row = 0; row < indexed_rows_; ++row) IndexRow(row);
  stale_ = false;
}

void RenameList::RefilePaths(std::size_t rows) const {
  path_rows_ = Table();  // its room is given back before the larger table takes its own
  path_rows_ = Table(rows);
  for (std::size_t row = 0; row < indexed_rows_; ++row) {
    path_rows_.Add(HashOf(path.entries[row]), row);
  }
}

void RenameList::EnsureIndexed() const {
  // Rows put in the path column by hand are indexed as well, without a key.
  if (stale_ || indexed_rows_ != path.entries.size()) {
    Rebuild(std::max(path.entries.size(), path_rows_.capacity()));
  }
}

std::vector<int> RenameList::RowsRecordedAs(const std::string& file_key) const {
  std::vector<int> rows;
  if (file_key.empty()) return rows;
  EnsureIndexed();
  const std::uint64_t hash = HashOf(file_key);
  key_rows_.Find(hash, [&](std::size_t row) {
    if (KeyHashOf(row) == hash) rows.push_back(static_cast<int>(row));
    return false;
  });
  return rows;
}

bool RenameList::HoldsPath(std::string_view file_path) const {
  EnsureIndexed();
  return path_rows_.Find(HashOf(file_path),
                         [&](std::size_t row) { return path.entries[row] == file_path; });
}

void RenameList::RenamePath(int row, std::string new_path) {
  if (row < 0 || row >= path.size()) return;
  const auto renamed = static_cast<std::size_t>(row);
  path.entries[renamed] = std::move(new_path);
  if (stale_ || indexed_rows_ != path.entries.size()) return;  // the next look-up rebuilds
  // The row is filed under its new path as well, so that following many files one by one
  // rebuilds nothing: under the old one it no longer matches and is passed over.
  if (path_rows_.size() >= path_rows_.capacity()) {
    RefilePaths(path.entries.size() * 3 / 2);
  } else {
    path_rows_.Add(HashOf(path.entries[renamed]), renamed);
  }
}

std::vector<int> RenameList::RowsListing(std::string_view file_path) const {
  std::vector<int> rows;
  EnsureIndexed();
  path_rows_.Find(HashOf(file_path), [&](std::size_t row) {
    if (path.entries[row] == file_path) rows.push_back(static_cast<int>(row));
    return false;
  });
  // A row renamed back to a path it had is filed under it twice.
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void RenameList::ForgetPath(const std::string& /*file_path*/) {
  // The path has left its column already; the tables drop it on their next rebuild.
  stale_ = true;
}

void RenameList::ReorderPaths(const std::vector<std::size_t>& order) {
  key_hashes_.resize(path.entries.size(), 0);
  std::vector<std::string> paths;
  std::vector<std::uint64_t> keys;
  paths.reserve(order.size());
  keys.reserve(order.size());
  for (std::size_t row : order) {
    paths.push_back(std::move(path.entries[row]));
    keys.push_back(key_hashes_[row]);
  }
  path.entries = std::move(paths);
  key_hashes_ = std::move(keys);
  if (!row_dates_.empty()) {
    AlignRowDates();
    std::vector<std::int64_t> dates;
    dates.reserve(order.size());
    for (std::size_t row : order) dates.push_back(row_dates_[row]);
    row_dates_ = std::move(dates);
  }
  stale_ = true;
}

void RenameList::SwapPaths(int a, int b) {
  key_hashes_.resize(path.entries.size(), 0);
  const auto at = [](int row) { return static_cast<std::size_t>(row); };
  std::swap(path.entries[at(a)], path.entries[at(b)]);
  std::swap(key_hashes_[at(a)], key_hashes_[at(b)]);
  AlignRowDates();
  if (!row_dates_.empty()) std::swap(row_dates_[at(a)], row_dates_[at(b)]);
  stale_ = true;
}

void RenameList::ErasePath(int row) {
  if (row < 0 || row >= path.size()) return;
  key_hashes_.resize(path.entries.size(), 0);
  AlignRowDates();
  if (!row_dates_.empty()) row_dates_.erase(row_dates_.begin() + row);
  path.entries.erase(path.entries.begin() + row);
  key_hashes_.erase(key_hashes_.begin() + row);
  stale_ = true;
}

void RenameList::EraseRows(const std::vector<int>& rows) {
  key_hashes_.resize(path.entries.size(), 0);
  const auto compact = [&rows](auto& entries) {
    std::size_t kept = 0;
    std::size_t next = 0;  // the next of `rows` to drop
    for (std::size_t row = 0; row < entries.size(); ++row) {
      if (next < rows.size() && static_cast<std::size_t>(rows[next]) == row) {
        ++next;
        continue;
      }
      if (kept != row) entries[kept] = std::move(entries[row]);
      ++kept;
    }
    entries.resize(kept);
  };
  compact(path.entries);
  compact(key_hashes_);
  compact(unique.entries);
  compact(extension.entries);
  number.counted = std::max(0, number.counted - static_cast<int>(rows.size()));
  stale_ = true;
}

void RenameList::Clear() {
  for (ListColumn* c : {&number, &path, &unique, &extension}) *c = ListColumn{};
  number.counted = 0;
  key_hashes_ = {};
  row_dates_ = {};
  row_date_kind_ = DateKind::kNone;
  path_rows_ = Table();
  key_rows_ = Table();
  indexed_rows_ = 0;
  stale_ = false;
}

void RenameList::SetRowDates(std::vector<std::int64_t> dates, DateKind kind) {
  row_dates_ = std::move(dates);
  row_date_kind_ = kind;
  if (row_dates_.empty() && !path.entries.empty()) row_dates_.assign(path.entries.size(), kNoDate);
  AlignRowDates();
}

std::int64_t RenameList::RowDate(int row) const {
  const auto at = static_cast<std::size_t>(row);
  return row >= 0 && at < row_dates_.size() ? row_dates_[at] : kDateUnread;
}

void RenameList::DropLastNumber() {
  if (number.counted > 0) --number.counted;
}

int RowCount(const RenameList& list) {
  return std::min({list.size(), list.path.size(), list.unique.size(), list.extension.size()});
}

}  // namespace zefa
