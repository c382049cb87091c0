// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/run_checks.h"

#include <string_view>
#include <utility>

#include "platform/file_system.h"
#include "names/check_name_chars.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kLineBreak = "\n\r";

std::string Refused(std::string_view where, char found) {
  return std::string(where) + "に使えない文字\"" + found + "\"が含まれています";
}

}  // namespace

int RunChecks::FirstRow(std::initializer_list<Refusal> refusals) const {
  if (refused == 0) return -1;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (const Refusal refusal : refusals) {
      if (rows[row].refusal == refusal) return static_cast<int>(row);
    }
  }
  return -1;
}

RunChecks CheckRun(const RenameList& list, std::string_view common_name,
                   const NameSettings& settings, FileSystem& file_system, const TextRules& rules) {
  RunChecks checks;
  const std::size_t rows = list.path.entries.size();
  checks.rows.resize(rows);
  const auto refuse = [&](std::size_t row, Refusal refusal, char found = '\0') {
    if (checks.rows[row].refusal != Refusal::kNone) return;
    checks.rows[row] = {refusal, found};
    ++checks.refused;
  };

  const std::vector<bool> exist = file_system.FilesExist(list.path.entries);
  std::vector<std::string_view> gone;
  std::vector<std::size_t> gone_rows;
  for (std::size_t row = 0; row < rows && row < exist.size(); ++row) {
    if (exist[row]) continue;
    gone.push_back(list.path.entries[row]);
    gone_rows.push_back(row);
  }
  // Of the paths without a file, those where something else stands now.
  const std::vector<bool> taken = gone.empty() ? std::vector<bool>() : file_system.PathsTaken(gone);
  for (std::size_t i = 0; i < gone_rows.size(); ++i) {
    refuse(gone_rows[i], i < taken.size() && taken[i] ? Refusal::kNotAFile : Refusal::kFileMissing);
  }

  if (settings.pattern == NamePattern::kNone) return checks;  // no name is built
  if (common_name.empty() && IsPatternWithoutNumber(settings.pattern)) {
    for (std::size_t row = 0; row < rows; ++row) {
      if (list.unique.entries[row].empty()) refuse(row, Refusal::kNoUniqueName);
    }
  }
  // Every part comes from the user or from file names, where the other characters may be
  // legal: only a path separator is refused, as it would move the file elsewhere.
  if (!IsPatternWithoutNumber(settings.pattern)) {
    checks.open_bracket_found = FirstSeparatorChar(settings.open_bracket, rules);
    checks.close_bracket_found = FirstSeparatorChar(settings.close_bracket, rules);
    if (const char found = checks.open_bracket_found ? checks.open_bracket_found
                                                     : checks.close_bracket_found) {
      for (std::size_t row = 0; row < rows; ++row) refuse(row, Refusal::kSeparatorInBracket, found);
    }
  }
  for (std::size_t row = 0; row < rows; ++row) {
    if (const char found = FirstSeparatorChar(list.unique.entries[row], rules)) {
      refuse(row, Refusal::kSeparatorInUnique, found);
    } else if (const char in_extension = FirstSeparatorChar(list.extension.entries[row], rules)) {
      refuse(row, Refusal::kSeparatorInExtension, in_extension);
    }
  }
  return checks;
}

std::string RefusalText(const RowCheck& check) {
  switch (check.refusal) {
    case Refusal::kNone:
      break;
    case Refusal::kFileMissing:
      return "ファイルが見つかりません";
    case Refusal::kNotAFile:
      return "ファイルではないものに変わっています";
    case Refusal::kNoUniqueName:
      return "固有ファイル名がありません";
    case Refusal::kSeparatorInBracket:
      return Refused("数字を囲む文字列", check.found);
    case Refusal::kSeparatorInUnique:
      return Refused("固有ファイル名", check.found);
    case Refusal::kSeparatorInExtension:
      return Refused("拡張子", check.found);
  }
  return {};
}

std::string SeparatorMessage(const RunChecks& checks, const RenameList& list) {
  if (checks.open_bracket_found) return Refused("数字を囲む文字列（開）", checks.open_bracket_found);
  if (checks.close_bracket_found) {
    return Refused("数字を囲む文字列（閉）", checks.close_bracket_found);
  }
  const std::pair<Refusal, const char*> columns[] = {
      {Refusal::kSeparatorInUnique, "番のファイルの固有名"},
      {Refusal::kSeparatorInExtension, "番のファイルの拡張子"}};
  for (const auto& [refusal, what] : columns) {
    const int row = checks.FirstRow({refusal});
    if (row < 0) continue;
    const auto index = static_cast<std::size_t>(row);
    return Refused(std::to_string(row + 1) + what, checks.rows[index].found) + kLineBreak +
           DisplayPath(list.path.entries[index]);
  }
  return {};
}

bool IsRefusedName(std::string_view path, std::string_view name) {
  return path.empty() || name.empty() || name == "." || name == ".." ||
         path.find('\0') != std::string_view::npos;
}

}  // namespace zefa
