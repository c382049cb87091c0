// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/text_rules.h"

namespace zefa {

/** Where a byte that is no character of its code page is carried among the characters. */
inline constexpr char32_t kStrayByteBase = 0x10FF00;

/**
 * A name's characters in UTF-16, from its bytes in `code_page`. A byte that starts no
 * character becomes the private character U+10FF00 + byte, so that EncodeName gives it
 * back as it was: a name that is not valid text loses nothing on its way through.
 */
std::u16string DecodeName(std::string_view bytes, CodePage code_page);

/**
 * The bytes of `text` in `code_page`, stray bytes given back as they came; nullopt when a
 * character has no form in the code page (an emoji in a Shift-JIS name).
 */
std::optional<std::string> EncodeName(std::u16string_view text, CodePage code_page);

}  // namespace zefa
