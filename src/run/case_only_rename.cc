// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/case_only_rename.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "text/name_code_points.h"

namespace zefa {
namespace {

icu::UnicodeString Folded(std::string_view name, CodePage code_page) {
  const std::u16string units = DecodeName(name, code_page);
  icu::UnicodeString text(units.data(), static_cast<int32_t>(units.size()));
  text.foldCase();
  return text;
}

// Whether the UTF-8 character that starts at `at` (an invalid one counts as changing)
// changes when its case is folded.
bool ChangesWhenFolded(std::string_view name, std::size_t at) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  const auto length = static_cast<std::int32_t>(name.size());
  auto offset = static_cast<std::int32_t>(at);
  UChar32 c = 0;
  U8_NEXT(bytes, offset, length, c);
  return c < 0 || u_hasBinaryProperty(c, UCHAR_CHANGES_WHEN_CASEFOLDED);
}

// A name in the file's folder that nothing holds, chosen before the run.
std::string TemporaryPathFor(std::string_view old_path, std::size_t row, int attempt,
                             const TextRules& rules) {
  std::string path(FolderPart(old_path, rules));
  path += ".zefa-oru-" + std::to_string(row + 1);
  if (attempt > 1) path += "-" + std::to_string(attempt);
  path += ".tmp";
  return path;
}

}  // namespace

bool DiffersInCaseOnly(std::string_view old_path, std::string_view new_path,
                       const TextRules& rules) {
  if (old_path == new_path) return false;
  const std::string_view old_folder = FolderPart(old_path, rules);
  if (FolderPart(new_path, rules) != old_folder) return false;
  const std::string_view old_name = old_path.substr(old_folder.size());
  const std::string_view new_name = new_path.substr(old_folder.size());
  // ASCII first: most new names differ from the old at once, and most names are ASCII.
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  const std::size_t common = std::min(old_name.size(), new_name.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char a = old_name[i];
    const char b = new_name[i];
    if (a == b) continue;
    if (ascii(a) != ascii(b) && rules.code_page == CodePage::kUtf8 &&
        !ChangesWhenFolded(ascii(a) ? new_name : old_name, i)) {
      // The names fold alike up to here, where one has an ASCII character and the other
      // a character that stays as it is, never ASCII: they differ, folded or not.
      return false;
    }
    if (!ascii(a) || !ascii(b))
      return Folded(old_name, rules.code_page) == Folded(new_name, rules.code_page);
    if (lower(a) != lower(b)) return false;
  }
  if (old_name.size() == new_name.size()) return true;
  const bool all_ascii = std::all_of(old_name.begin(), old_name.end(), ascii) &&
                         std::all_of(new_name.begin(), new_name.end(), ascii);
  return !all_ascii && Folded(old_name, rules.code_page) == Folded(new_name, rules.code_page);
}

std::vector<bool> FindCaseOnlyRenames(const std::vector<RowChange>& changes,
                                      FileSystem& file_system, const TextRules& rules) {
  std::vector<bool> case_only(changes.size(), false);
  std::vector<std::size_t> rows;
  std::vector<std::string_view> new_paths;
  for (std::size_t row = 0; row < changes.size(); ++row) {
    if (!DiffersInCaseOnly(changes[row].old_path(), changes[row].new_path(), rules)) continue;
    rows.push_back(row);
    new_paths.push_back(changes[row].new_path());
  }
  if (rows.empty()) return case_only;
  // Where names tell case apart the new name is usually free: only a taken one is looked at.
  const std::vector<bool> taken = file_system.PathsTaken(new_paths);
  std::vector<std::size_t> held;
  std::vector<std::string_view> paths;  // old, new of each row held
  for (std::size_t i = 0; i < rows.size() && i < taken.size(); ++i) {
    if (!taken[i]) continue;
    held.push_back(rows[i]);
    paths.push_back(changes[rows[i]].old_path());
    paths.push_back(changes[rows[i]].new_path());
  }
  if (held.empty()) return case_only;
  const std::vector<std::string> keys = file_system.FileKeys(paths);
  for (std::size_t i = 0; i < held.size() && 2 * i + 1 < keys.size(); ++i) {
    case_only[held[i]] = !keys[2 * i].empty() && keys[2 * i] == keys[2 * i + 1];
  }
  return case_only;
}

void RouteThroughTemporaryNames(ChangePlan& plan, FileSystem& file_system, const TextRules& rules) {
  std::vector<RowChange>& changes = plan.changes;
  const std::vector<bool> case_only = FindCaseOnlyRenames(changes, file_system, rules);
  std::vector<std::size_t> open_rows;
  for (std::size_t row = 0; row < changes.size(); ++row) {
    if (case_only[row]) open_rows.push_back(row);
  }
  if (open_rows.empty()) return;
  // Temporary names that something holds already are passed over, a few tries a row.
  std::vector<std::string> temporary(changes.size());
  for (int attempt = 1; attempt <= 5 && !open_rows.empty(); ++attempt) {
    std::vector<std::string_view> candidates;
    for (const std::size_t row : open_rows) {
      temporary[row] = TemporaryPathFor(changes[row].old_path(), row, attempt, rules);
      candidates.push_back(temporary[row]);
    }
    const std::vector<bool> taken = file_system.PathsTaken(candidates);
    std::vector<std::size_t> still_open;
    for (std::size_t i = 0; i < open_rows.size(); ++i) {
      if (i >= taken.size() || taken[i]) still_open.push_back(open_rows[i]);
    }
    open_rows.swap(still_open);
  }
  // A row left without a free name goes the direct way, and the file system says no.
  for (const std::size_t row : open_rows) temporary[row].clear();

  std::vector<RowChange> run;
  run.reserve(changes.size() + static_cast<std::size_t>(std::count_if(
                                   temporary.begin(), temporary.end(),
                                   [](const std::string& path) { return !path.empty(); })));
  for (std::size_t row = 0; row < changes.size(); ++row) {
    if (temporary[row].empty()) {
      run.push_back(changes[row]);
      continue;
    }
    const std::string_view through = plan.paths.Keep(temporary[row]);
    RowChange first = changes[row];
    first.set_new_path(through);
    first.step = ChangeStep::kToTemporary;
    RowChange second = changes[row];
    second.set_old_path(through);
    second.step = ChangeStep::kFromTemporary;
    run.push_back(first);
    run.push_back(second);
  }
  changes = std::move(run);
}

}  // namespace zefa
