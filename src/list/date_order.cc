// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/date_order.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "list/sort_list.h"

namespace zefa {
namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr std::int64_t kSecondsPerDay = 86'400;

bool IsReal(std::int64_t date) { return date > kDateUnread; }

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, CivilTime& time) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  time.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  time.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  time.year = static_cast<int>(yoe + era * 400 + (time.month <= 2 ? 1 : 0));
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `count` digits at `pos`, moved past.
bool TakeDigits(std::string_view text, std::size_t& pos, int count, int& value) {
  value = 0;
  for (int i = 0; i < count; ++i, ++pos) {
    if (pos >= text.size() || !IsDigit(text[pos])) return false;
    value = value * 10 + (text[pos] - '0');
  }
  return true;
}

bool TakeChar(std::string_view text, std::size_t& pos, std::string_view allowed) {
  if (pos >= text.size() || allowed.find(text[pos]) == std::string_view::npos) return false;
  ++pos;
  return true;
}

// Microseconds of a fraction's leading digits: "045" is 45,000.
int MicrosOfDigits(std::string_view digits) {
  int micros = 0;
  for (int i = 0; i < 6; ++i) {
    const bool digit = static_cast<std::size_t>(i) < digits.size() && IsDigit(digits[i]);
    micros = micros * 10 + (digit ? digits[i] - '0' : 0);
  }
  return micros;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\0' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// The fraction of a second for a line: its digits without the zeros at the end.
std::string FractionText(std::int64_t fraction, int digits) {
  if (fraction == 0) return {};
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, fraction /= 10) {
    text[static_cast<std::size_t>(i)] = static_cast<char>('0' + fraction % 10);
  }
  while (text.back() == '0') text.pop_back();
  return "." + text;
}

}  // namespace

std::optional<std::int64_t> ParseRecordedDate(std::string_view text, std::string_view subsec) {
  text = Trimmed(text);
  std::size_t pos = 0;
  CivilTime time;
  if (!TakeDigits(text, pos, 4, time.year) || !TakeChar(text, pos, ":-") ||
      !TakeDigits(text, pos, 2, time.month) || !TakeChar(text, pos, ":-") ||
      !TakeDigits(text, pos, 2, time.day)) {
    return std::nullopt;
  }
  std::string_view fraction = Trimmed(subsec);
  if (pos < text.size()) {
    if (!TakeChar(text, pos, " T") || !TakeDigits(text, pos, 2, time.hour) ||
        !TakeChar(text, pos, ":") || !TakeDigits(text, pos, 2, time.minute)) {
      return std::nullopt;
    }
    if (TakeChar(text, pos, ":") && !TakeDigits(text, pos, 2, time.second)) return std::nullopt;
    if (TakeChar(text, pos, ".,")) {
      const std::size_t start = pos;
      while (pos < text.size() && IsDigit(text[pos])) ++pos;
      fraction = text.substr(start, pos - start);
    }
    // A zone after the wall time leaves the wall time as it is.
    if (TakeChar(text, pos, "Z")) {
    } else if (TakeChar(text, pos, "+-")) {
      int zone = 0;
      if (!TakeDigits(text, pos, 2, zone)) return std::nullopt;
      TakeChar(text, pos, ":");
      if (pos < text.size() && !TakeDigits(text, pos, 2, zone)) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;
  }
  if (!std::all_of(fraction.begin(), fraction.end(), IsDigit)) fraction = {};
  if (time.year < 1 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > DaysInMonth(time.year, time.month) || time.hour > 23 || time.minute > 59 ||
      time.second > 59) {
    return std::nullopt;
  }
  const std::int64_t seconds = DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay +
                               time.hour * 3600 + time.minute * 60 + time.second;
  return seconds * kMicrosPerSecond + MicrosOfDigits(fraction);
}

std::int64_t DateTakenOf(const RecordedDates& dates) {
  if (auto date = ParseRecordedDate(dates.original, dates.original_subsec)) return *date;
  if (auto date = ParseRecordedDate(dates.digitized, dates.digitized_subsec)) return *date;
  for (const std::string& created : dates.created) {
    if (auto date = ParseRecordedDate(created)) return *date;
  }
  return kNoDate;
}

CivilTime CivilOfTaken(std::int64_t date) {
  const auto floor_div = [](std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
  };
  CivilTime time;
  const std::int64_t seconds = floor_div(date, kMicrosPerSecond);
  time.microsecond = static_cast<int>(date - seconds * kMicrosPerSecond);
  const std::int64_t days = floor_div(seconds, kSecondsPerDay);
  const auto in_day = static_cast<int>(seconds - days * kSecondsPerDay);
  CivilFromDays(days, time);
  time.hour = in_day / 3600;
  time.minute = in_day / 60 % 60;
  time.second = in_day % 60;
  return time;
}

std::optional<std::vector<std::int64_t>> ReadDates(const std::vector<std::string>& paths,
                                                   DateKind kind, MediaDates& media,
                                                   const KeepGoing& keep_going) {
  std::vector<std::int64_t> dates(paths.size(), kNoDate);
  // Each thread writes the dates of its own rows only.
  const bool complete = media.ForEach(
      paths.size(),
      [&](std::size_t i) {
        dates[i] = kind == DateKind::kModified ? media.ModifiedTime(paths[i]).value_or(kNoDate)
                                               : DateTakenOf(media.ReadRecorded(paths[i]));
      },
      keep_going);
  if (!complete) return std::nullopt;
  return dates;
}

std::vector<std::size_t> DateOrder(const std::vector<std::int64_t>& dates,
                                   const std::vector<std::string>& paths, CodePage code_page) {
  std::vector<std::size_t> order = CollationOrder(paths, code_page);
  const auto date_of = [&](std::size_t row) { return row < dates.size() ? dates[row] : kNoDate; };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const bool dated_a = IsReal(date_of(a));
    const bool dated_b = IsReal(date_of(b));
    if (dated_a != dated_b) return dated_a;
    return dated_a && date_of(a) < date_of(b);
  });
  return order;
}

void SortRowsByDate(RenameList& list, std::vector<std::int64_t> dates, DateKind kind,
                    std::string_view common_name, const DeriveSettings& settings,
                    const TextRules& rules) {
  const std::vector<std::size_t> order = DateOrder(dates, list.path.entries, rules.code_page);
  // Kept before the reorder, which carries them along with their paths.
  list.SetRowDates(std::move(dates), kind);
  ReorderRows(list, order, common_name, settings, rules);
}

std::string FormatDate(const CivilTime& time, std::string_view format) {
  std::string text;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      text += format[i];
      continue;
    }
    char year[24];
    switch (format[++i]) {
      case 'Y':
        std::snprintf(year, sizeof year, "%04d", time.year);
        text += year;
        break;
      case 'y': text += TwoDigits(time.year % 100); break;
      case 'm': text += TwoDigits(time.month); break;
      case 'd': text += TwoDigits(time.day); break;
      case 'H': text += TwoDigits(time.hour); break;
      case 'M': text += TwoDigits(time.minute); break;
      case 'S': text += TwoDigits(time.second); break;
      case 'f':
        std::snprintf(year, sizeof year, "%03d", time.microsecond / 1000);
        text += year;
        break;
      case '%': text += '%'; break;
      default:
        text += '%';
        text += format[i];
    }
  }
  return text;
}

void NameRowsByDate(RenameList& list, std::vector<std::int64_t> dates_taken,
                    std::string_view format) {
  const std::size_t rows = std::min(dates_taken.size(), list.unique.entries.size());
  for (std::size_t i = 0; i < rows; ++i) {
    if (IsReal(dates_taken[i])) {
      list.unique.entries[i] = FormatDate(CivilOfTaken(dates_taken[i]), format);
    }
  }
  list.SetRowDates(std::move(dates_taken), DateKind::kTaken);
}

std::string DateLine(std::int64_t date, DateKind kind) {
  if (date == kDateUnread || kind == DateKind::kNone) return {};
  if (date == kNoDate) {
    return kind == DateKind::kTaken ? "日時：なし（撮影日時が記録されていません）"
                                    : "日時：なし（更新日時が読めません）";
  }
  constexpr const char* kShown = "%Y-%m-%d %H:%M:%S";
  if (kind == DateKind::kTaken) {
    const CivilTime time = CivilOfTaken(date);
    return "撮影日時：" + FormatDate(time, kShown) + FractionText(time.microsecond, 6);
  }
  constexpr std::int64_t kNanos = 1'000'000'000;
  std::int64_t seconds = date / kNanos;
  std::int64_t nanos = date % kNanos;
  if (nanos < 0) {
    nanos += kNanos;
    --seconds;
  }
  const auto unix_time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&unix_time, &local);
  CivilTime time{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                 local.tm_hour,        local.tm_min,     local.tm_sec, 0};
  return "更新日時：" + FormatDate(time, kShown) + FractionText(nanos, 9);
}

}  // namespace zefa
