// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

#include "commands/context.h"
#include "list/rename_list.h"
#include "names/name_tokens.h"

namespace zefa {

inline constexpr const char* kFactsProgressText = "ファイルの情報を読み込んでいます";

/**
 * Every row's common name, its tokens filled from the row's file through the context's
 * reader, with a progress window while files are read; nullopt when the user stopped it.
 */
std::optional<CommonNames> CommonNamesOf(const RenameList& list, std::string_view common_name,
                                         const Context& context);

/**
 * Whether the typed common name may be used: its own texts, tokens left out, hold no
 * forbidden character (else the error box says which, as for any common name).
 */
bool CheckCommonNameChars(std::string_view common_name, const Context& context);

}  // namespace zefa
