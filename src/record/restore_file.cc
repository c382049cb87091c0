// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "record/restore_file.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/command_error.h"
#include "platform/program_paths.h"
#include "settings/profile.h"
#include "text/code_page_convert.h"
#include "text/text_rules.h"
#include "text/uri_list.h"

namespace zefa {
namespace {

constexpr std::string_view kCountSection = "Count";
constexpr std::string_view kCountKey = "count";
constexpr std::string_view kBeforeSection = "before";
constexpr std::string_view kAfterSection = "after";
constexpr std::string_view kIdentitySection = "identity";
constexpr std::string_view kOutcomeSection = "notrenamed";
constexpr std::string_view kOutcomeEndKey = "end";

// A line longer than this holds a value longer than any recorded path, however encoded.
constexpr std::size_t kMaxLineBytes = 4 * kMaxRecordedPathBytes + 64;

bool HasOverlongLine(std::string_view bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
    if (stop - start > kMaxLineBytes) return true;
    start = stop + 1;
  }
  return false;
}
constexpr std::string_view kEscapedPrefix = "file://";

// Restore files of one second beyond this many are refused rather than searched forever.
constexpr int kMaxAttempts = 1000;

void AppendSection(std::string& text, std::string_view name) {
  text += '[';
  text += name;
  text += "]\n";
}

// Whether the encoder quotes the value: only when its first or last byte would be lost,
// which the one-byte texts at its ends show without copying the whole value.
bool NeedsQuotes(std::string_view value) {
  return !value.empty() && (EncodeProfileValue(value.substr(0, 1)).size() != 1 ||
                            EncodeProfileValue(value.substr(value.size() - 1)).size() != 1);
}

void AppendKey(std::string& text, std::string_view key, std::string_view value) {
  text += key;
  text += '=';
  if (NeedsQuotes(value)) {
    text += EncodeProfileValue(value);
  } else {
    text += value;
  }
  text += '\n';
}

bool NeedsEscape(std::string_view path) {
  return !IsValidUtf8(path) || path.find_first_of("\r\n") != std::string_view::npos ||
         path.substr(0, kEscapedPrefix.size()) == kEscapedPrefix;
}

void AppendPathKey(std::string& text, std::size_t row, std::string_view path) {
  if (NeedsEscape(path)) {
    AppendKey(text, std::to_string(row), EncodeRecordedPath(path));
  } else {
    AppendKey(text, std::to_string(row), path);
  }
}

}  // namespace

std::string EncodeRecordedPath(std::string_view path) {
  if (!NeedsEscape(path)) return std::string(path);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string value(kEscapedPrefix);
  value.reserve(value.size() + path.size() * 3);
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = CharLength(path, i, CodePage::kUtf8);
    const auto byte = static_cast<unsigned char>(path[i]);
    const bool plain = length > 1 ? IsValidUtf8(path.substr(i, length))
                                  : byte >= 0x20 && byte < 0x7F && byte != '%';
    if (plain) {
      value += path.substr(i, length);
      i += length;
      continue;
    }
    value += '%';
    value += kHex[byte >> 4];
    value += kHex[byte & 0x0F];
    ++i;
  }
  return value;
}

std::string DecodeRecordedPath(std::string_view value) {
  if (value.substr(0, kEscapedPrefix.size()) != kEscapedPrefix) return std::string(value);
  return PercentDecoded(value.substr(kEscapedPrefix.size()));
}

std::string RestoreFileName(const LocalTime& time, int attempt) {
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%04d年%d月%d日%02d時%02d分%02d秒", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  std::string name = stamp;
  if (attempt > 1) name += "_" + std::to_string(attempt);
  return name + kRestoreExtension;
}

namespace {

/**
 * The record of a plan, with the identities of its files when a file system is given to
 * look them up as their rows are written, handed over in
 * pieces of about a megabyte: a run of a million rows never holds the whole file.
 */
class RecordPieces {
 public:
  RecordPieces(const std::vector<RowChange>& plan, FileSystem* identities)
      : plan_(plan), identities_(identities) {}

  bool Next(std::string& piece) {
    piece.clear();
    while (piece.size() < kPieceBytes && part_ < kParts) {
      if (row_ == 0 && !AppendHead(piece)) {
        part_ = kParts;
        break;
      }
      if (row_ == plan_.size()) {
        ++part_;
        row_ = 0;
        continue;
      }
      AppendRow(piece);
      ++row_;
    }
    return !piece.empty();
  }

 private:
  static constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
  static constexpr int kParts = 3;  // before, after, identity

  // The part's section line, with the count before the first; false when nothing follows.
  bool AppendHead(std::string& piece) const {
    if (part_ == 0) {
      AppendSection(piece, kCountSection);
      AppendKey(piece, kCountKey, std::to_string(plan_.size()));
      if (plan_.empty()) return false;
    }
    if (part_ == 2 && identities_ == nullptr) return false;
    const std::string_view sections[] = {kBeforeSection, kAfterSection, kIdentitySection};
    AppendSection(piece, sections[part_]);
    return true;
  }

  void AppendRow(std::string& piece) {
    const RowChange& row = plan_[row_];
    if (part_ < 2) {
      AppendPathKey(piece, row_, part_ == 0 ? row.old_path() : row.new_path());
      return;
    }
    // The identities are looked up a stretch of rows at a time, as they are written.
    if (row_ == 0 || row_ - first_ >= stretch_.size()) {
      first_ = row_;
      std::vector<std::string_view> paths;
      for (std::size_t next = row_; next < plan_.size() && paths.size() < kStretchRows; ++next) {
        paths.push_back(plan_[next].old_path());
      }
      stretch_ = identities_->FileIdentities(paths);
    }
    piece += std::to_string(row_);
    piece += '=';
    // The second step of a change of case moves the file of the step before it, which is
    // not at its temporary name yet: it is recorded as that file.
    if (row.step != ChangeStep::kFromTemporary) {
      previous_.clear();
      if (row_ - first_ < stretch_.size()) previous_ = stretch_[row_ - first_];
    }
    piece += previous_;
    piece += '\n';
  }

  const std::vector<RowChange>& plan_;
  static constexpr std::size_t kStretchRows = 4096;
  FileSystem* identities_;
  std::vector<std::string> stretch_;  // the identities of rows first_ on
  std::string previous_;              // the identity written last
  std::size_t first_ = 0;
  int part_ = 0;
  std::size_t row_ = 0;
};

}  // namespace

std::string RestoreFileBytes(const std::vector<RowChange>& plan) {
  std::string text;
  std::string piece;
  RecordPieces pieces(plan, nullptr);
  while (pieces.Next(piece)) text += piece;
  return text;
}

std::string OutcomeBytes(const std::vector<RowChange>& plan) {
  std::string text;
  for (std::size_t row = 0; row < plan.size(); ++row) {
    const ChangeStatus status = plan[row].status;
    if (status == ChangeStatus::kDone || status == ChangeStatus::kUnchanged) continue;
    const bool failed = status == ChangeStatus::kFailed || status == ChangeStatus::kRefused;
    if (text.empty()) AppendSection(text, kOutcomeSection);
    text += std::to_string(row);
    text += failed ? "=failed\n" : "=notreached\n";
  }
  if (!text.empty()) {
    text += kOutcomeEndKey;
    text += "=1\n";
  }
  return text;
}

void AppendRunOutcome(FileSystem& file_system, const std::string& path,
                      const std::vector<RowChange>& plan) {
  const std::string bytes = OutcomeBytes(plan);
  if (!bytes.empty()) file_system.AppendFile(path, bytes);
}

std::string WriteRestoreFile(FileSystem& file_system, const std::string& restore_folder,
                             const TextRules& rules, const std::vector<RowChange>& plan) {
  // A folder that cannot be made shows up as the refused write just below.
  file_system.CreateFolders(restore_folder);
  const LocalTime now = file_system.Now();
  const std::string folder = WithTrailingSeparator(restore_folder, rules);
  const std::string first_path = folder + RestoreFileName(now);
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string path = folder + RestoreFileName(now, attempt);
    RecordPieces pieces(plan, &file_system);
    const auto next = [&](std::string& piece) { return pieces.Next(piece); };
    if (file_system.WriteFileInPieces(path, next, WriteMode::kCreateNew)) return path;
    // Only a name taken by an earlier record moves on to the next; anything else is a refusal.
    if (!file_system.FileExists(path) && !file_system.FolderExists(path)) {
      throw WriteRefused(path);
    }
  }
  throw WriteRefused(first_path);
}

RestoreRecord RestoreRecord::Read(FileSystem& file_system, const std::string& path) {
  std::optional<std::string> bytes = file_system.ReadFile(path, kMaxRestoreFileBytes);
  return Parse(bytes ? std::move(*bytes) : std::string());
}

namespace {

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

enum Found : std::uint8_t {
  kFoundBefore = 1,
  kFoundAfter = 2,
  kFoundIdentity = 4,
  kFoundOutcome = 8,
  kOutcomeNotRenamed = 16,
};

}  // namespace

RestoreRecord RestoreRecord::Parse(std::string bytes) {
  RestoreRecord record;
  if (HasOverlongLine(bytes)) return record;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  // The writer records one line of UTF-8 for every path, so its paths read back byte for
  // byte; a Shift-JIS file of a Windows copy is read as such.
  if (!IsValidUtf8(bytes)) bytes = DecodeStoredText(bytes);
  record.text_ = std::move(bytes);
  const std::string_view text = record.text_;
  // No row beyond the number of lines can be part of rows 0, 1, 2 ... that all have a new path.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;

  enum class Section { kNone, kCount, kBefore, kAfter, kIdentity, kOutcome };
  const std::pair<std::string_view, Section> kSections[] = {{kCountSection, Section::kCount},
                                                            {kBeforeSection, Section::kBefore},
                                                            {kAfterSection, Section::kAfter},
                                                            {kIdentitySection, Section::kIdentity},
                                                            {kOutcomeSection, Section::kOutcome}};
  bool seen[std::size(kSections)] = {};
  Section section = Section::kNone;
  std::optional<std::string_view> count;
  std::optional<std::string_view> outcome_end;
  std::vector<StoredRow>& rows = record.rows_;
  const auto span = [&](std::string_view value) {
    return Span{static_cast<std::uint32_t>(value.data() - text.data()),
                static_cast<std::uint32_t>(value.size())};
  };
  ForEachProfileLine(text, [&](const ProfileLine& line) {
    if (line.is_section) {
      section = Section::kNone;
      for (std::size_t i = 0; i < std::size(kSections); ++i) {
        if (!SameProfileName(line.name, kSections[i].first)) continue;
        // Only the first section of a name is read.
        if (!seen[i]) section = kSections[i].second;
        seen[i] = true;
      }
      return true;
    }
    const std::string_view key = line.name;
    if (key.empty() || section == Section::kNone) return true;
    if (section == Section::kCount) {
      if (!count && SameProfileName(key, kCountKey)) {
        count = line.value;
        const long counted = ParseProfileInteger(line.value).value_or(0);
        rows.reserve(std::min(static_cast<std::size_t>(std::max(0L, counted)), lines));
      }
      return true;
    }
    if (section == Section::kOutcome && SameProfileName(key, kOutcomeEndKey)) {
      if (!outcome_end) outcome_end = line.value;
      return true;
    }
    const long row = RowOfKey(key);
    if (row < 0 || static_cast<std::size_t>(row) >= lines) return true;
    const auto index = static_cast<std::size_t>(row);
    if (index >= rows.size()) rows.resize(index + 1);
    StoredRow& stored = rows[index];
    const auto first = [&](std::uint8_t bit) {
      const bool is_first = (stored.found & bit) == 0;
      stored.found |= bit;
      return is_first;
    };
    switch (section) {
      case Section::kBefore:
        if (first(kFoundBefore)) stored.before = span(line.value);
        break;
      case Section::kAfter:
        if (first(kFoundAfter)) stored.after = span(line.value);
        break;
      case Section::kIdentity:
        if (first(kFoundIdentity)) stored.identity = span(line.value);
        break;
      case Section::kOutcome:
        if (first(kFoundOutcome) && (line.value == "failed" || line.value == "notreached")) {
          stored.found |= kOutcomeNotRenamed;
        }
        break;
      default:
        break;
    }
    return true;
  });

  record.count_ = count ? ParseProfileInteger(*count).value_or(0) : 0;
  record.outcome_complete_ = outcome_end == "1";
  // A record that holds the section is read by identities, whichever rows it gives one.
  record.has_identities_ = seen[3];
  // The rows read are those from row 0 that have a new path, up to the count.
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
    const bool decoded = counted > 0;
    record.first_after_ = rows[0].after;
    if (!decoded) record.DecodeInPlace(record.first_after_);
  }
  rows.resize(kept);
  return record;
}

void RestoreRecord::DecodeInPlace(Span& span) {
  const std::string_view value = View(span);
  if (!value.starts_with(kEscapedPrefix)) return;
  // The decoded path is never longer than its escaped form: it takes that form's place.
  const std::string decoded = DecodeRecordedPath(value);
  decoded.copy(text_.data() + span.at, decoded.size());
  span.size = static_cast<std::uint32_t>(decoded.size());
}

RestoreRow RestoreRecord::Row(std::size_t row) const {
  const StoredRow& stored = rows_[row];
  return RestoreRow{View(stored.before), View(stored.after), View(stored.identity),
                    outcome_complete_ && (stored.found & kOutcomeNotRenamed) != 0};
}

}  // namespace zefa
