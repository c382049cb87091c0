// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "list/rename_list.h"
#include "list/unique_name.h"
#include "text/text_rules.h"

namespace zefa {

/**
 * Orders the target paths (SortByCollation), derives every unique name and extension
 * anew from them and the common name; the unique-name and extension columns lose their
 * selection, the number and path columns keep their selected index.
 */
void SortRows(RenameList& list, std::string_view common_name, const DeriveSettings& settings,
              const TextRules& rules);

/**
 * Puts the target paths in the order `order` names and derives every unique name and
 * extension anew, as SortRows does.
 */
void ReorderRows(RenameList& list, const std::vector<std::size_t>& order,
                 std::string_view common_name, const DeriveSettings& settings,
                 const TextRules& rules);

/**
 * Sorts `texts` in the collation of the user's locale: letter case ignored, digit runs
 * compared by value ("IMG_2" before "IMG_10"). Texts that collate equal keep byte order,
 * so the result does not depend on the order given.
 */
void SortByCollation(std::vector<std::string>& texts, CodePage code_page);
/** The order SortByCollation puts `texts` in, as their indices. */
std::vector<std::size_t> CollationOrder(const std::vector<std::string>& texts, CodePage code_page);

}  // namespace zefa
