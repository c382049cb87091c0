// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/new_names.h"

#include <algorithm>

#include "names/check_name_chars.h"
#include "run/change_pipeline.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

RenameRequest RequestOf(const NewNameRequest& request) {
  return RenameRequest{request.common_name, request.start_number, request.settings};
}

}  // namespace

NewNameRequest ReadNewNameRequest(const std::string& common_name, int start_number,
                                  const Context& context) {
  return NewNameRequest{common_name, start_number, ReadNameSettings(context.Settings())};
}

std::string NewFileName(const RenameList& list, int row, const NewNameRequest& request,
                        const SerialNumbers& numbers, const TextRules& rules, PathStore& paths) {
  const RowChange change = ComposeChange(list, row, RequestOf(request), numbers, rules, paths);
  return std::string(FileNamePart(change.new_path(), rules));
}

NewNameReasons CheckNewNames(const RenameList& list, const NewNameRequest& request,
                             FileSystem& file_system, const TextRules& rules) {
  const ChangePlan plan = PlanChanges(list, RequestOf(request), file_system, rules);
  NewNameReasons reasons;
  for (const RowChange& change : plan.changes) {
    if (change.Fails()) reasons.emplace_back(change.row, ReasonText(change));
  }
  std::sort(reasons.begin(), reasons.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return reasons;
}

std::string CommonNameRefusal(const NewNameRequest& request, const TextRules& rules) {
  const char found = FirstForbiddenChar(request.common_name, rules.code_page);
  if (found == '\0') return {};
  return std::string("使えない文字\"") + found + "\"が含まれています";
}

const std::string& ReasonOf(const NewNameReasons& reasons, int row) {
  static const std::string kNone;
  const auto found = std::lower_bound(
      reasons.begin(), reasons.end(), row,
      [](const std::pair<int, std::string>& entry, int wanted) { return entry.first < wanted; });
  return found != reasons.end() && found->first == row ? found->second : kNone;
}

}  // namespace zefa
