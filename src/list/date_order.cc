// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/date_order.h"

#include <algorithm>

#include "list/sort_list.h"

namespace zefa {
namespace {

bool IsReal(std::int64_t date) { return date > kDateUnread; }

}  // namespace

std::int64_t DateTakenOf(const RecordedDates& dates) {
  if (auto date = ParseRecordedDate(dates.original, dates.original_subsec)) return *date;
  if (auto date = ParseRecordedDate(dates.digitized, dates.digitized_subsec)) return *date;
  for (const std::string& created : dates.created) {
    if (auto date = ParseRecordedDate(created)) return *date;
  }
  return kNoDate;
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

}  // namespace zefa
