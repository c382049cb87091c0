// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/common_names_command.h"

#include <memory>

#include "names/check_name_chars.h"
#include "platform/prompter.h"
#include "settings/options.h"

namespace zefa {

std::optional<CommonNames> CommonNamesOf(const RenameList& list, std::string_view common_name,
                                         const Context& context) {
  TokenSources sources;
  sources.media = context.media;
  if (common_name.find('{') == std::string_view::npos || context.media == nullptr ||
      ParseNameTemplate(common_name, context.rules.code_page).FactKinds() == 0) {
    return ExpandCommonNames(list, common_name, sources, context.rules);
  }
  sources.date_format = ReadOption(context.Settings(), &Options::date_format);
  const std::unique_ptr<Progress> progress =
      context.prompter.StartProgress(kFactsProgressText, list.path.entries.size());
  return ExpandCommonNames(list, common_name, sources, context.rules,
                           [&](std::size_t done) { return progress->Advance(done); });
}

bool CheckCommonNameChars(std::string_view common_name, const Context& context) {
  if (common_name.find('{') == std::string_view::npos) {
    return CheckNameChars(common_name, context.rules.code_page, context.prompter);
  }
  return CheckNameChars(ParseNameTemplate(common_name, context.rules.code_page).LiteralText(),
                        context.rules.code_page, context.prompter);
}

}  // namespace zefa
