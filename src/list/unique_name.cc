// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/unique_name.h"

#include "settings/options.h"
#include "settings/settings_file.h"
#include "text/name_text.h"

namespace zefa {

DeriveSettings ReadDeriveSettings(const SettingsFile& settings) {
  DeriveSettings result;
  result.when_add = ReadOption(settings, &Options::strip_common_name);
  result.koyu_kakko = ReadOption(settings, &Options::unique_brackets);
  if (result.koyu_kakko) {
    result.koyu_aki = ReadOption(settings, &Options::unique_open);
    result.koyu_toji = ReadOption(settings, &Options::unique_close);
  }
  return result;
}

std::string DeriveUniqueName(std::string_view path, std::string_view common_name,
                             const DeriveSettings& settings, const TextRules& rules) {
  // A name from a Windows archive or a macOS share gives a name of this system.
  const std::string file_name = NameInCodePage(FileNamePart(path, rules), rules.code_page);
  std::string name(StemOf(file_name, rules.code_page));
  if (settings.when_add) {
    const std::size_t at = FindText(name, common_name, rules.code_page);
    if (at != kNotFound) name.erase(at, common_name.size());
  }
  if (settings.koyu_kakko) {
    name = CutToBrackets(name, settings.koyu_aki, settings.koyu_toji, rules.code_page);
  }
  return name;
}

std::string CutToBrackets(std::string_view name, std::string_view open, std::string_view close,
                          CodePage code_page) {
  const std::size_t start = FindText(name, open, code_page);
  if (start != kNotFound) name.remove_prefix(start);
  const std::size_t end = FindText(name, close, code_page);
  if (end != kNotFound) name = name.substr(0, end + close.size());
  return std::string(name);
}

std::string ExtensionOfPath(std::string_view path, const TextRules& rules) {
  const std::string file_name = NameInCodePage(FileNamePart(path, rules), rules.code_page);
  return std::string(ExtensionOf(file_name, rules.code_page));
}

}  // namespace zefa
