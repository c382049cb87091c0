// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The restore file's reader: one pass of the profile's line reader into the record's rows,
// over the file's pieces as they are read.
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
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

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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
 * step its section names, and the record keeps a copy of the values it needs alone. The
 * text comes in pieces, cut anywhere: a line is read once its line break has come.
 */
class RecordReader {
 public:
  /** How the reading of the text stands. */
  enum class State { kReading, kOverlong, kNotUtf8 };

  /**
   * `bytes` is the size of the text, the most its values can take. `decoded` text (a
   * Shift-JIS file's, made UTF-8) is read as it is: its BOM and its line lengths were
   * looked at in the file's own bytes.
   */
  RecordReader(RestoreRecord& record, std::size_t bytes, bool decoded)
      : record_(record),
        // Each of the rows 0 .. n needs a line of its own of at least three bytes ("0=x"),
        // so no row past a third of the bytes can be part of rows that all have a new path.
        max_rows_(bytes / 3 + 1),
        decoded_(decoded) {
    // Room that is never written costs no memory: the values take what they need of it.
    record.text_.reserve(bytes);
    record.identities_.reserve(bytes);
  }

  /** Reads the lines that `piece` ends; the rest waits for the next piece. */
  State Piece(std::string_view piece) {
    if (!decoded_ && Overlong(piece)) return State::kOverlong;
    const std::size_t last_break = piece.rfind('\n');
    if (last_break == std::string_view::npos) {
      open_.append(piece);
      return State::kReading;
    }
    State state;
    if (open_.empty()) {
      state = Lines(piece.substr(0, last_break + 1));
    } else {
      open_.append(piece.substr(0, last_break + 1));
      state = Lines(open_);
    }
    open_.assign(piece.substr(last_break + 1));
    return state;
  }

  /** Reads the last line, which no line break ends. */
  State End() {
    const State state = open_.empty() ? State::kReading : Lines(open_);
    std::string().swap(open_);
    return state;
  }

  void Finish();

 private:
  enum class Section { kNone, kCount, kBefore, kAfter, kIdentity, kOutcome };
  using StoredRow = RestoreRecord::StoredRow;
  using Span = RestoreRecord::Span;

  // Whether a line of the file's bytes, the one begun in earlier pieces included, is longer
  // than any a run writes.
  bool Overlong(std::string_view piece) {
    for (std::size_t start = 0;;) {
      const std::size_t end = FindLineBreak(piece, start);
      if (end == std::string_view::npos) {
        line_bytes_ += piece.size() - start;
        return line_bytes_ > sections::kMaxLineBytes;
      }
      if (line_bytes_ + (end - start) > sections::kMaxLineBytes) return true;
      line_bytes_ = 0;
      start = end + 1;
    }
  }

  // Reads whole lines; the first text read starts the file.
  State Lines(std::string_view text) {
    if (!decoded_) {
      if (at_start_ && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
      // The writer records one line of UTF-8 for every path, so its paths read back byte
      // for byte; a file with other bytes is read again, decoded (RestoreRecord::Parse).
      if (!IsValidUtf8(text)) return State::kNotUtf8;
    }
    at_start_ = false;
    ForEachProfileLine(text, [&](const ProfileLine& line) { return Line(line); });
    return State::kReading;
  }

  bool Line(const ProfileLine& line) {
    if (line.is_section) {
      EnterSection(line.name);
    } else if (!line.name.empty() && section_ != Section::kNone) {
      KeyLine(line.name, line.value);
    }
    return true;
  }

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
      if (!outcome_end_) outcome_end_ = std::string(value);
      return;
    }
    const long row = RowOfKey(key);
    if (row < 0 || static_cast<std::size_t>(row) >= max_rows_) return;
    RowValue(RowAt(static_cast<std::size_t>(row)), value);
  }

  void ReadCount(std::string_view value) {
    count_ = value;
    const long counted = ParseProfileInteger(value).value_or(0);
    record_.rows_.reserve(std::min(static_cast<std::size_t>(std::max(0L, counted)), max_rows_));
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
        if (!row.has_before) row.before = Keep(record_.text_, value);
        row.has_before = true;
        break;
      case Section::kAfter:
        if (!row.has_after) row.after = Keep(record_.text_, value);
        row.has_after = true;
        break;
      case Section::kIdentity:
        if (!row.has_identity) row.identity = Keep(record_.identities_, value);
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

  // The value, kept at the end of `values`.
  static Span Keep(std::string& values, std::string_view value) {
    const Span span{static_cast<std::uint32_t>(values.size()),
                    static_cast<std::uint32_t>(value.size())};
    values.append(value);
    return span;
  }

  RestoreRecord& record_;
  const std::size_t max_rows_;
  const bool decoded_;
  bool at_start_ = true;
  std::size_t line_bytes_ = 0;  // of the line the pieces so far leave open
  std::string open_;            // the lines that no line break has ended yet
  Section section_ = Section::kNone;
  static constexpr std::size_t kIdentitySeen = 3;  // the identity section's place above
  bool seen_[5] = {};
  std::optional<std::string> count_;
  std::optional<std::string> outcome_end_;
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

namespace {

// Ends a reading that stood at `state`: its last line, then its rows; a record of no rows
// when a line was overlong. kNotUtf8 leaves the record to be read again, decoded.
RecordReader::State EndReading(RecordReader& reader, RecordReader::State state,
                               RestoreRecord& record) {
  if (state == RecordReader::State::kReading) state = reader.End();
  if (state == RecordReader::State::kReading) reader.Finish();
  if (state == RecordReader::State::kOverlong) record = RestoreRecord();
  return state;
}

// Reads the whole of `text` into `record`.
RecordReader::State ReadWhole(RestoreRecord& record, std::string_view text, bool decoded) {
  RecordReader reader(record, text.size(), decoded);
  return EndReading(reader, reader.Piece(text), record);
}

}  // namespace

RestoreRecord RestoreRecord::Read(FileSystem& file_system, const std::string& path) {
  const auto unread = [](zefa::ReadFailure failure) {
    RestoreRecord record;
    record.read_failure_ = failure;
    return record;
  };
  RestoreRecord record;
  std::optional<RecordReader> reader;
  RecordReader::State state = RecordReader::State::kReading;
  const std::optional<zefa::ReadFailure> failure = file_system.ReadFileInPieces(
      path, kMaxRestoreFileBytes,
      {[&](std::size_t bytes) { reader.emplace(record, bytes, false); },
       [&](std::string_view piece) {
         state = reader->Piece(piece);
         return state == RecordReader::State::kReading;
       }});
  if (failure) return unread(*failure);
  if (!reader) reader.emplace(record, 0, false);  // a file system that told no size
  if (EndReading(*reader, state, record) != RecordReader::State::kNotUtf8) return record;
  // A Shift-JIS file of a Windows copy: read again, whole, to be decoded.
  reader.reset();
  FileRead bytes = file_system.ReadFile(path, kMaxRestoreFileBytes);
  if (!bytes) return unread(*bytes.failure());
  return Parse(std::move(*bytes));
}

RestoreRecord RestoreRecord::Parse(std::string bytes) {
  RestoreRecord record;
  if (ReadWhole(record, bytes, false) != RecordReader::State::kNotUtf8) return record;
  // A Shift-JIS file of a Windows copy is read as such.
  std::string_view text(bytes);
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  const std::string decoded = DecodeStoredText(text);
  std::string().swap(bytes);
  record = RestoreRecord();
  ReadWhole(record, decoded, true);
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
  const std::string_view identity =
      std::string_view(identities_).substr(stored.identity.at, stored.identity.size);
  return RestoreRow{View(stored.before), View(stored.after), identity,
                    outcome_complete_ && stored.not_renamed};
}

void RestoreRecord::ForgetIdentities() {
  std::string().swap(identities_);
  for (StoredRow& row : rows_) row.identity = Span{};
}

}  // namespace zefa
