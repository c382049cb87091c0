// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/new_names.h"

#include <algorithm>

#include "names/check_name_chars.h"
#include "run/preview.h"
#include "run/rename_plan.h"
#include "run/run_checks.h"
#include "run/run_simulation.h"
#include "text/text_rules.h"

namespace zefa {

NewNameRequest ReadNewNameRequest(const std::string& common_name, int start_number,
                                  const Context& context) {
  return NewNameRequest{common_name, start_number, ReadNameSettings(context.Settings())};
}

std::string NewFileName(const RenameList& list, int row, const NewNameRequest& request,
                        const SerialNumbers& numbers, const TextRules& rules) {
  const std::string path =
      ComposeName(list, row, request.common_name, numbers.Of(row, request.start_number),
                  request.settings, rules);
  return std::string(FileNamePart(path, rules));
}

NewNameReasons CheckNewNames(const RenameList& list, const NewNameRequest& request,
                             FileSystem& file_system, const TextRules& rules) {
  std::vector<PlannedRename> plan =
      BuildRenamePlan(list, request.common_name, request.start_number, request.settings, rules);
  const RunChecks checks =
      CheckRun(list, request.common_name, request.settings, file_system, rules);
  std::vector<PredictedRow> predicted = SimulateRun(plan, checks.rows, file_system, rules);
  const Preview preview(std::move(plan), std::move(predicted), rules);
  NewNameReasons reasons;
  for (int row = 0; row < preview.size(); ++row) {
    if (preview.WillFail(row)) reasons.emplace_back(row, preview.FailureReasonText(row));
  }
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
