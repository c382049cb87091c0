// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/media_dates.h"
#include "list/rename_list.h"
#include "list/unique_name.h"
#include "text/text_rules.h"

namespace zefa {

/** A moment as a calendar shows it; `microsecond` below 1,000,000. */
struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int microsecond = 0;
};

/**
 * A recorded date as a count that orders as time does (microseconds of the wall time the
 * file records): "2026:12:08 15:30:12" of EXIF, or ISO 8601 ("2026-12-08T15:30:12.5+09:00",
 * "2026-12-08"), with the fraction's digits `subsec` where the file keeps them apart.
 * nullopt when the text is no real date: month 13, second 92, all zeros, trailing rubbish.
 */
std::optional<std::int64_t> ParseRecordedDate(std::string_view text, std::string_view subsec = {});

/** The date taken of a file's recorded dates: the first real one in trust order, else kNoDate. */
std::int64_t DateTakenOf(const RecordedDates& dates);

/** The calendar moment of a date taken (as ParseRecordedDate counts it). */
CivilTime CivilOfTaken(std::int64_t date);

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

/**
 * A date in `format`: %Y year, %y its last two digits, %m month, %d day, %H hour, %M
 * minute, %S second, %f milliseconds, %% a "%"; every other byte stands as it is.
 */
std::string FormatDate(const CivilTime& time, std::string_view format);

/** Sets each row's unique name to its date taken in `format`; rows without one keep theirs. */
void NameRowsByDate(RenameList& list, std::vector<std::int64_t> dates_taken,
                    std::string_view format);

/** The line that says which date a row has and where it comes from; "" when none was read. */
std::string DateLine(std::int64_t date, DateKind kind);

}  // namespace zefa
