// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/code_page_convert.h"
#include "text/text_rules.h"

namespace zefa {

/** UTF-8 in composed form (NFC); text that is not valid UTF-8 is returned unchanged. */
std::string ComposedUtf8(std::string_view utf8);

/**
 * A file name or a part of one as text of the system's code page, for the names a run
 * composes from it. With UTF-8 as the system's code page: UTF-8 in composed form (NFC);
 * a name that is not UTF-8 but decodes as Shift-JIS is converted (files from Windows
 * archives); any other name keeps its bytes. In code page 932 the bytes stay as they are.
 */
std::string NameInCodePage(std::string_view name, CodePage code_page);

/**
 * A file name for the eye: UTF-8 as it is, else Shift-JIS when it decodes, else UTF-8
 * with every byte that is no part of a UTF-8 character shown as \xNN. The result is
 * always valid UTF-8; it is never used to name a file.
 */
std::string DisplayName(std::string_view name);

/**
 * A path for the eye: each part between "/" separators shown as DisplayName shows it, so
 * a Shift-JIS file name in a UTF-8 folder reads right ("/" is never the second byte of a
 * Shift-JIS character).
 */
std::string DisplayPath(std::string_view path);

}  // namespace zefa
