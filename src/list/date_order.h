// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/date_text.h"
#include "list/rename_list.h"
#include "list/unique_name.h"
#include "platform/media_dates.h"
#include "text/text_rules.h"

namespace zefa {

/** The date taken of a file's recorded dates: the first real one in trust order, else kNoDate. */
std::int64_t DateTakenOf(const RecordedDates& dates);

/**
 * The date of `kind` of every path, read on the reader's threads; nullopt when `keep_going`
 * stopped the reading. A file that gives none has kNoDate.
 */
std::optional<std::vector<std::int64_t>> ReadDates(const std::vector<std::string>& paths,
                                                   DateKind kind, MediaDates& media,
                                                   const KeepGoing& keep_going);

/**
 * The rows in date order: earlier first, then the rows without a date; rows of equal date
 * and the rows without one keep the name order of the sort among themselves.
 */
std::vector<std::size_t> DateOrder(const std::vector<std::int64_t>& dates,
                                   const std::vector<std::string>& paths, CodePage code_page);

/**
 * Orders the list by `dates` (one per target path, of `kind`) and derives every unique name
 * and extension anew, as the sort by name does; the list keeps the dates for its rows.
 */
void SortRowsByDate(RenameList& list, std::vector<std::int64_t> dates, DateKind kind,
                    std::string_view common_name, const DeriveSettings& settings,
                    const TextRules& rules);

/** Sets each row's unique name to its date taken in `format`; rows without one keep theirs. */
void NameRowsByDate(RenameList& list, std::vector<std::int64_t> dates_taken,
                    std::string_view format);

}  // namespace zefa
