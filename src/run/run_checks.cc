// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/run_checks.h"

#include <string_view>
#include <utility>

#include "names/check_name_chars.h"
#include "platform/file_system.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr std::string_view kMissingFileText = "次のファイルが存在しません。実行を中止します。\n\r";
constexpr std::string_view kNameMissingText = "ファイル名を入力して下さい\n\r";

}  // namespace

void CheckChanges(ChangePlan& plan, const RenameList& list, const RenameRequest& request,
                  FileSystem& file_system, const TextRules& rules) {
  std::vector<RowChange>& changes = plan.changes;
  const std::size_t rows = changes.size();
  const auto refuse = [&](std::size_t row, ChangeReason reason, char found = '\0') {
    RowChange& change = changes[row];
    if (change.reason != ChangeReason::kNone) return;
    MarkChange(change, ChangeStatus::kRefused, reason);
    change.found = found;
    ++plan.refused;
    ++plan.failing;
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
    refuse(gone_rows[i],
           i < taken.size() && taken[i] ? ChangeReason::kNotAFile : ChangeReason::kFileMissing);
  }

  const NameSettings& settings = request.settings;
  if (settings.pattern == NamePattern::kNone) return;  // no name is built
  if (request.common_name.empty() && IsPatternWithoutNumber(settings.pattern)) {
    for (std::size_t row = 0; row < rows; ++row) {
      if (list.unique.entries[row].empty()) refuse(row, ChangeReason::kNoUniqueName);
    }
  }
  // Every part comes from the user or from file names, where the other characters may be
  // legal: only a path separator is refused, as it would move the file elsewhere.
  if (!IsPatternWithoutNumber(settings.pattern)) {
    plan.open_bracket_found = FirstSeparatorChar(settings.open_bracket, rules);
    plan.close_bracket_found = FirstSeparatorChar(settings.close_bracket, rules);
    if (const char found =
            plan.open_bracket_found ? plan.open_bracket_found : plan.close_bracket_found) {
      for (std::size_t row = 0; row < rows; ++row) {
        refuse(row, ChangeReason::kSeparatorInBracket, found);
      }
    }
  }
  for (std::size_t row = 0; row < rows; ++row) {
    if (const char found = FirstSeparatorChar(list.unique.entries[row], rules)) {
      refuse(row, ChangeReason::kSeparatorInUnique, found);
    } else if (const char in_extension = FirstSeparatorChar(list.extension.entries[row], rules)) {
      refuse(row, ChangeReason::kSeparatorInExtension, in_extension);
    }
  }
}

std::string SeparatorMessage(const ChangePlan& plan, const RenameList& list) {
  if (plan.open_bracket_found) {
    return UnusableCharText("数字を囲む文字列（開）", plan.open_bracket_found);
  }
  if (plan.close_bracket_found) {
    return UnusableCharText("数字を囲む文字列（閉）", plan.close_bracket_found);
  }
  const std::pair<ChangeReason, const char*> columns[] = {
      {ChangeReason::kSeparatorInUnique, "番のファイルの固有名"},
      {ChangeReason::kSeparatorInExtension, "番のファイルの拡張子"}};
  for (const auto& [reason, what] : columns) {
    const int row = plan.FirstRow({reason});
    if (row < 0) continue;
    const auto index = static_cast<std::size_t>(row);
    return UnusableCharText(std::to_string(row + 1) + what, plan.changes[index].found) +
           std::string(kLineBreak) + DisplayPath(list.path.entries[index]);
  }
  return {};
}

std::optional<std::string> RunStopMessage(const ChangePlan& plan, const RenameList& list,
                                          std::string_view common_name, const TextRules& rules) {
  const auto path_of = [&](int row) {
    return DisplayPath(list.path.entries[static_cast<std::size_t>(row)]);
  };
  if (const int row = plan.FirstRow({ChangeReason::kFileMissing, ChangeReason::kNotAFile});
      row >= 0) {
    return std::string(kMissingFileText) + path_of(row);
  }
  if (const int row = plan.FirstRow({ChangeReason::kNoUniqueName}); row >= 0) {
    return std::string(kNameMissingText) + path_of(row);
  }
  if (const char found = FirstForbiddenChar(common_name, rules.code_page)) {
    return ForbiddenCharText(found);
  }
  // The other parts of the names are checked too, so that no new name leaves its folder.
  if (std::string refused = SeparatorMessage(plan, list); !refused.empty()) return refused;
  return std::nullopt;
}

bool IsRefusedName(std::string_view path, std::string_view name) {
  return path.empty() || name.empty() || name == "." || name == ".." ||
         path.find('\0') != std::string_view::npos;
}

}  // namespace zefa
