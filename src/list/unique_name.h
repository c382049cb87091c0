// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "text/text_rules.h"

namespace zefa {

class SettingsFile;

/** The options that shape a derived unique name, read once for a whole command. */
struct DeriveSettings {
  bool when_add = false;    // remove the first occurrence of the common name
  bool koyu_kakko = false;  // cut down to the part between the two bracket strings
  std::string koyu_aki;     // opening string; read only when koyu_kakko is on
  std::string koyu_toji;    // closing string; read only when koyu_kakko is on
};

/** `when_add` and `Koyu_kakko`, and the two bracket strings only when `Koyu_kakko` is on. */
DeriveSettings ReadDeriveSettings(const SettingsFile& settings);

/**
 * The unique name of a new row: the file name of `path` as a name of the code page
 * (NameInCodePage: UTF-8 in composed form, Shift-JIS converted) without its extension,
 * with the first occurrence of `common_name` removed (when_add, case counts), then cut
 * to the brackets (koyu_kakko). It may be empty.
 */
std::string DeriveUniqueName(std::string_view path, std::string_view common_name,
                             const DeriveSettings& settings, const TextRules& rules);

/**
 * Drops everything before the first `open` and then everything after the first `close`
 * found in what is left; either cut is skipped when its string is not found.
 */
std::string CutToBrackets(std::string_view name, std::string_view open, std::string_view close,
                          CodePage code_page);

/**
 * The extension a new row carries: from the last "." of the file name on, or empty; in
 * the code page's form as the unique name is.
 */
std::string ExtensionOfPath(std::string_view path, const TextRules& rules);

}  // namespace zefa
