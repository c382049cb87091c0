// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "text/text_rules.h"

namespace zefa {

class Prompter;

/**
 * Whether `text` may stand in a file name. At the first of the eight forbidden characters
 * found (in the order \ / : * " < > |, each a character of its own) it sounds the error
 * beep, shows 使えない文字"X"が含まれています in the error box and gives false.
 */
bool CheckNameChars(std::string_view text, CodePage code_page, Prompter& prompter);

/** The text 使えない文字"X"が含まれています for the character `found`. */
std::string ForbiddenCharText(char found);

/** The error beep and the box 使えない文字"X"が含まれています for the character `found`. */
void ShowForbiddenChar(char found, Prompter& prompter);

/**
 * The first path separator of the path style ("/"; on Windows also "\\" and ":") that
 * stands in `text` as a character of its own, or '\0': a name holding one would move its
 * file out of its folder.
 */
char FirstSeparatorChar(std::string_view text, const TextRules& rules);

/** The first forbidden character in `text`, or '\0' when there is none. */
char FirstForbiddenChar(std::string_view text, CodePage code_page);

}  // namespace zefa
