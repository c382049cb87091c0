// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The restore file's reader: one pass of the profile's line reader into the record's rows.
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "record/recorded_path.h"
#include "record/restore_file.h"
#include "record/restore_sections.h"
#include "settings/profile.h"
#include "text/code_page_convert.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

namespace sections = restore_sections;

bool HasOverlongLine(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = FindLineBreak(bytes, start);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
    if (stop - start > sections::kMaxLineBytes) return true;
    start = stop + 1;
  }
  return false;
}

// The row a key names: decimal digits without a leading zero ("0" itself is row 0); -1
// for any other key, which no look-up of a row would find.
long RowOfKey(std::string_view key) {
  if (key.empty() || key.size() > 9 || (key[0] == '0' && key.size() > 1)) return -1;
  long row = 0;
  for (const char c : key) {
    if (c < '0' || c > '9') return -1;
    row = row * 10 + (c - '0');
  }
  return row;
}

}  // namespace

/**
 * Reads the lines of a restore file's text into a record, as the profile reader would find
 * them: the first section of a name, in it the first line of a key. Each line goes to the
 * step its section names.
 */
class RecordReader {
 public:
  explicit RecordReader(RestoreRecord& record)
      : record_(record),
        text_(record.text_),
        lines_(static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1) {}

  bool Line(const ProfileLine& line) {
    if (line.is_section) {
      EnterSection(line.name);
    } else if (!line.name.empty() && section_ != Section::kNone) {
      KeyLine(line.name, line.value);
    }
    return true;
  }

  void Finish();

 private:
  enum class Section { kNone, kCount, kBefore, kAfter, kIdentity, kOutcome };
  using StoredRow = RestoreRecord::StoredRow;
  using Span = RestoreRecord::Span;

  // Only the first section of a name is read; any other section is passed over.
  void EnterSection(std::string_view name) {
    static constexpr std::pair<std::string_view, Section> kSections[] = {
        {sections::kCount, Section::kCount},
        {sections::kBefore, Section::kBefore},
        {sections::kAfter, Section::kAfter},
        {sections::kIdentity, Section::kIdentity},
        {sections::kOutcome, Section::kOutcome}};
    section_ = Section::kNone;
    for (std::size_t i = 0; i < std::size(kSections); ++i) {
      if (!SameProfileName(name, kSections[i].first)) continue;
      if (!seen_[i]) section_ = kSections[i].second;
      seen_[i] = true;
    }
  }

  void KeyLine(std::string_view key, std::string_view value) {
    if (section_ == Section::kCount) {
      if (!count_ && SameProfileName(key, sections::kCountKey)) ReadCount(value);
      return;
    }
    if (section_ == Section::kOutcome && SameProfileName(key, sections::kOutcomeEndKey)) {
      if (!outcome_end_) outcome_end_ = value;
      return;
    }
    const long row = RowOfKey(key);
    // No row beyond the number of lines can be part of rows 0, 1, 2 ... that all have a
    // new path.
    if (row < 0 || static_cast<std::size_t>(row) >= lines_) return;
    RowValue(RowAt(static_cast<std::size_t>(row)), value);
  }

  void ReadCount(std::string_view value) {
    count_ = value;
    const long counted = ParseProfileInteger(value).value_or(0);
    record_.rows_.reserve(std::min(static_cast<std::size_t>(std::max(0L, counted)), lines_));
  }

  StoredRow& RowAt(std::size_t row) {
    std::vector<StoredRow>& rows = record_.rows_;
    if (row >= rows.size()) rows.resize(row + 1);
    return rows[row];
  }

  // The first line of a key in its section counts.
  void RowValue(StoredRow& row, std::string_view value) {
    switch (section_) {
      case Section::kBefore:
        if (!row.has_before) row.before = SpanOf(value);
        row.has_before = true;
        break;
      case Section::kAfter:
        if (!row.has_after) row.after = SpanOf(value);
        row.has_after = true;
        break;
      case Section::kIdentity:
        if (!row.has_identity) row.identity = SpanOf(value);
        row.has_identity = true;
        break;
      case Section::kOutcome:
        if (!row.has_outcome) row.not_renamed = value == "failed" || value == "notreached";
        row.has_outcome = true;
        break;
      default:
        break;
    }
  }

  Span SpanOf(std::string_view value) const {
    return Span{static_cast<std::uint32_t>(value.data() - text_.data()),
                static_cast<std::uint32_t>(value.size())};
  }

  RestoreRecord& record_;
  const std::string_view text_;
  const std::size_t lines_;
  Section section_ = Section::kNone;
  static constexpr std::size_t kIdentitySeen = 3;  // the identity section's place above
  bool seen_[5] = {};
  std::optional<std::string_view> count_;
  std::optional<std::string_view> outcome_end_;
};

// The rows kept are those from row 0 that have a new path, up to the count; a value longer
// than any recorded path ends them.
void RecordReader::Finish() {
  RestoreRecord& record = record_;
  std::vector<StoredRow>& rows = record.rows_;
  record.count_ = count_ ? ParseProfileInteger(*count_).value_or(0) : 0;
  record.outcome_complete_ = outcome_end_ == "1";
  // A record that holds the section is read by identities, whichever rows it gives one.
  record.has_identities_ = seen_[kIdentitySeen];
  const std::size_t counted = static_cast<std::size_t>(std::max(0, record.count_));
  std::size_t kept = 0;
  while (kept < rows.size() && kept < counted) {
    StoredRow& row = rows[kept];
    record.DecodeInPlace(row.after);
    if (row.after.size == 0) break;  // "file://" alone is an empty path too
    record.DecodeInPlace(row.before);
    if (row.before.size > kMaxRecordedPathBytes || row.after.size > kMaxRecordedPathBytes) {
      record.overlong_ = true;
      break;
    }
    ++kept;
  }
  if (!rows.empty()) {
    // Row 0's new path was decoded above when the count reaches it; else it is decoded here.
    record.first_after_ = rows[0].after;
    if (counted == 0) record.DecodeInPlace(record.first_after_);
  }
  rows.resize(kept);
}

RestoreRecord RestoreRecord::Read(FileSystem& file_system, const std::string& path) {
  FileRead bytes = file_system.ReadFile(path, kMaxRestoreFileBytes);
  if (!bytes) {
    RestoreRecord record;
    record.read_failure_ = bytes.failure();
    return record;
  }
  return Parse(std::move(*bytes));
}

RestoreRecord RestoreRecord::Parse(std::string bytes) {
  RestoreRecord record;
  if (HasOverlongLine(bytes)) return record;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  // The writer records one line of UTF-8 for every path, so its paths read back byte for
  // byte; a Shift-JIS file of a Windows copy is read as such.
  if (!IsValidUtf8(bytes)) bytes = DecodeStoredText(bytes);
  record.text_ = std::move(bytes);
  RecordReader reader(record);
  ForEachProfileLine(record.text_, [&](const ProfileLine& line) { return reader.Line(line); });
  reader.Finish();
  return record;
}

std::string ReadFailureText(ReadFailure failure) {
  switch (failure) {
    case ReadFailure::kNothingThere:
      break;
    case ReadFailure::kNotReadable:
      return "読み込めません";
    case ReadFailure::kTooLarge:
      return "大きすぎます";
    case ReadFailure::kNotAFile:
      return "ファイルではありません";
  }
  return {};
}

void RestoreRecord::DecodeInPlace(Span& span) {
  const std::string_view value = View(span);
  if (!value.starts_with(kEscapedPathPrefix)) return;
  // The decoded path is never longer than its escaped form: it takes that form's place.
  const std::string decoded = DecodeRecordedPath(value);
  decoded.copy(text_.data() + span.at, decoded.size());
  span.size = static_cast<std::uint32_t>(decoded.size());
}

RestoreRow RestoreRecord::Row(std::size_t row) const {
  const StoredRow& stored = rows_[row];
  return RestoreRow{View(stored.before), View(stored.after), View(stored.identity),
                    outcome_complete_ && stored.not_renamed};
}

}  // namespace zefa
