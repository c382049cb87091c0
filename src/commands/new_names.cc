// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/new_names.h"

#include <algorithm>

#include "names/check_name_chars.h"
#include "platform/media_dates.h"
#include "run/change_pipeline.h"
#include "settings/options.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

RenameRequest RequestOf(const NewNameRequest& request) {
  return RenameRequest{request.common_name, request.start_number, request.settings};
}

}  // namespace

NewNameRequest ReadNewNameRequest(const std::string& common_name, int start_number,
                                  const Context& context) {
  const SettingsFile settings = context.Settings();
  NewNameRequest request;
  request.common_name = common_name;
  request.start_number = start_number;
  request.settings = ReadNameSettings(settings);
  if (common_name.find('{') != std::string::npos) {
    auto tokens =
        std::make_shared<NameTemplate>(ParseNameTemplate(common_name, context.rules.code_page));
    if (tokens->HasTokens()) {
      request.tokens = std::move(tokens);
      request.sources.media = context.media;
      request.sources.date_format = ReadOption(settings, &Options::date_format);
    }
  }
  return request;
}

std::string NewFileName(const RenameList& list, int row, const NewNameRequest& request,
                        const SerialNumbers& numbers, const TextRules& rules, PathStore& paths) {
  RenameRequest rename = RequestOf(request);
  // A row's own common name: its tokens filled from its file, as the run fills them. Only
  // the rows on screen come here, so only their files are read.
  std::string own_name;
  if (request.tokens) {
    const std::string& path = list.path.entries[static_cast<std::size_t>(row)];
    const unsigned kinds = request.sources.media != nullptr ? request.tokens->FactKinds() : 0;
    const FileFacts facts =
        kinds != 0 ? request.sources.media->ReadFacts(path, kinds) : FileFacts{};
    own_name = ExpandTemplate(*request.tokens, path, facts, request.sources, rules);
    rename.common_name = own_name;
  }
  const RowChange change = ComposeChange(list, row, rename, numbers, rules, paths);
  return std::string(FileNamePart(change.new_path(), rules));
}

NewNameReasons CheckNewNames(const RenameList& list, const NewNameRequest& request,
                             FileSystem& file_system, const TextRules& rules) {
  RenameRequest rename = RequestOf(request);
  std::optional<CommonNames> names;
  if (request.tokens) {
    names = ExpandCommonNames(list, request.common_name, request.sources, rules);
    if (names) rename.common_names = &*names;
  }
  const ChangePlan plan = PlanChanges(list, rename, file_system, rules);
  NewNameReasons reasons;
  for (const RowChange& change : plan.changes) {
    if (change.Fails()) reasons.emplace_back(change.row, ReasonText(change));
  }
  std::sort(reasons.begin(), reasons.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return reasons;
}

std::string CommonNameRefusal(const NewNameRequest& request, const TextRules& rules) {
  // What the tokens give is checked on each row; the typed text around them here.
  const char found = FirstForbiddenChar(
      request.tokens ? request.tokens->LiteralText() : request.common_name, rules.code_page);
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
