// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/restore_history.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <tuple>

#include "record/restore_file.h"
#include "record/undo.h"

namespace zefa {
namespace {

// Reads a decimal number up to `unit`; false when the text does not go on so.
bool ReadPart(std::string_view& text, std::string_view unit, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  if (!text.starts_with(unit)) return false;
  text.remove_prefix(unit.size());
  return true;
}

std::tuple<int, int, int, int, int, int, int> SortKey(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  const auto parsed = ParseRestoreFileName(name);
  if (!parsed) return {};
  const LocalTime& t = parsed->first;
  return {t.year, t.month, t.day, t.hour, t.minute, t.second, parsed->second};
}

}  // namespace

std::optional<std::pair<LocalTime, int>> ParseRestoreFileName(std::string_view name) {
  if (!name.ends_with(kRestoreExtension)) return std::nullopt;
  name.remove_suffix(std::string_view(kRestoreExtension).size());
  LocalTime time;
  if (!ReadPart(name, "年", time.year) || !ReadPart(name, "月", time.month) ||
      !ReadPart(name, "日", time.day) || !ReadPart(name, "時", time.hour) ||
      !ReadPart(name, "分", time.minute) || !ReadPart(name, "秒", time.second)) {
    return std::nullopt;
  }
  int attempt = 1;
  if (name.starts_with("_")) {
    name.remove_prefix(1);
    if (!ReadPart(name, "", attempt) || attempt < 2) return std::nullopt;
  }
  if (!name.empty()) return std::nullopt;
  return std::make_pair(time, attempt);
}

std::vector<std::string> RestoreFilesNewestFirst(const std::string& restore_folder) {
  std::vector<std::string> paths;
  std::error_code error;
  for (std::filesystem::directory_iterator it(restore_folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.ends_with(kRestoreExtension)) paths.push_back(it->path().string());
  }
  // Names that hold no time sort after the others, by name.
  std::vector<std::pair<std::tuple<int, int, int, int, int, int, int>, std::string>> keyed;
  keyed.reserve(paths.size());
  for (std::string& path : paths) keyed.emplace_back(SortKey(path), std::move(path));
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  paths.clear();
  for (auto& entry : keyed) paths.push_back(std::move(entry.second));
  return paths;
}

std::vector<RestoreEntry> ReadHistory(const std::string& restore_folder, FileSystem& file_system,
                                      const TextRules& rules) {
  std::vector<RestoreEntry> entries;
  for (std::string& path : RestoreFilesNewestFirst(restore_folder)) {
    RestoreEntry entry;
    if (const auto parsed = ParseRestoreFileName(std::filesystem::path(path).filename().string())) {
      entry.made = parsed->first;
      entry.attempt = parsed->second;
    }
    const RestoreRecord record = RestoreRecord::Read(file_system, path);
    entry.rows = record.Count();
    if (record.size() > 0) entry.folder = std::string(FolderPart(record.Row(0).before, rules));
    // What the undo would find: a record whose files are all gone from their new paths has
    // been undone (or its files have moved on).
    entry.undone = PlanUndo(record, file_system, rules).invalid.has_value();
    entry.path = std::move(path);
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace zefa
