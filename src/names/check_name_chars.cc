// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/check_name_chars.h"

#include <string>

#include "platform/prompter.h"

namespace zefa {

char FirstForbiddenChar(std::string_view text, CodePage code_page) {
  for (char c : {'\\', '/', ':', '*', '"', '<', '>', '|'}) {
    if (ContainsText(text, std::string_view(&c, 1), code_page)) return c;
  }
  return '\0';
}

char FirstSeparatorChar(std::string_view text, const TextRules& rules) {
  const char* separators = rules.path_style == PathStyle::kWindows ? "\\/:" : "/";
  if (text.find_first_of(separators) == std::string_view::npos) return '\0';
  for (const char* c = separators; *c != '\0'; ++c) {
    if (ContainsText(text, std::string_view(c, 1), rules.code_page)) return *c;
  }
  return '\0';
}

std::string ForbiddenCharText(char found) {
  return std::string("使えない文字\"") + found + "\"が含まれています";
}

void ShowForbiddenChar(char found, Prompter& prompter) {
  prompter.Beep(BeepKind::kError);
  prompter.Error(ForbiddenCharText(found));
}

bool CheckNameChars(std::string_view text, CodePage code_page, Prompter& prompter) {
  const char found = FirstForbiddenChar(text, code_page);
  if (found == '\0') return true;
  ShowForbiddenChar(found, prompter);
  return false;
}

}  // namespace zefa
