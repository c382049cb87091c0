// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "list/rename_list.h"

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

/** The calendar moment of a date taken (as ParseRecordedDate counts it). */
CivilTime CivilOfTaken(std::int64_t date);

/** The local calendar moment of a modification time (nanoseconds since 1970, UTC). */
CivilTime CivilOfModified(std::int64_t nanoseconds);

/**
 * A date in `format`: %Y year, %y its last two digits, %m month, %d day, %H hour, %M
 * minute, %S second, %f milliseconds, %% a "%"; every other byte stands as it is.
 */
std::string FormatDate(const CivilTime& time, std::string_view format);

/** The line that says which date a row has and where it comes from; "" when none was read. */
std::string DateLine(std::int64_t date, DateKind kind);

}  // namespace zefa
