// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "list/rename_list.h"

namespace zefa {

/**
 * The text of a file of names: UTF-8 (with or without its mark), UTF-16 with its mark, or
 * else Shift-JIS, as UTF-8 without a mark.
 */
std::string DecodeNamesFile(std::string_view bytes);

/**
 * The lines of `text` (UTF-8), split at "\r\n", "\n" or "\r"; a last line break ends the
 * last line rather than starting an empty one. With `first_field` each line of a CSV
 * gives its first field, quotes taken off ("a,b" → a; "\"x,y\",z" → x,y; "" doubled
 * inside quotes is one quote; a quoted field may hold a line break).
 */
std::vector<std::string> NameLines(std::string_view text, bool first_field = false);

/**
 * When the lines cannot be the rows' unique names because their numbers differ: how many
 * lines there are against the rows, and from which line on they differ from the names the
 * rows have (the first line that is not the row's name from the top); "" when they match.
 */
std::string LineCountText(const std::vector<std::string>& lines, const RenameList& list);

/** Gives row i the unique name lines[i]; only when there is one line per row. */
bool ApplyNameLines(RenameList& list, std::vector<std::string> lines);

}  // namespace zefa
