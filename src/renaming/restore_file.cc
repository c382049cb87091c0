// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/restore_file.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/command_error.h"
#include "platform/program_paths.h"
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
const std::vector<std::string_view> kNoValues;

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
 * The record of a plan, with the identities of its files when given, handed over in
 * pieces of about a megabyte: a run of a million rows never holds the whole file.
 */
class RecordPieces {
 public:
  RecordPieces(const std::vector<PlannedRename>& plan, const std::vector<std::string>* keys)
      : plan_(plan), keys_(keys) {}

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
    if (part_ == 2 && keys_ == nullptr) return false;
    const std::string_view sections[] = {kBeforeSection, kAfterSection, kIdentitySection};
    AppendSection(piece, sections[part_]);
    return true;
  }

  void AppendRow(std::string& piece) const {
    const PlannedRename& row = plan_[row_];
    if (part_ < 2) {
      AppendPathKey(piece, row_, part_ == 0 ? row.old_path : std::string_view(row.new_path));
      return;
    }
    piece += std::to_string(row_);
    piece += '=';
    if (row_ < keys_->size()) piece += (*keys_)[row_];
    piece += '\n';
  }

  const std::vector<PlannedRename>& plan_;
  const std::vector<std::string>* keys_;
  int part_ = 0;
  std::size_t row_ = 0;
};

}  // namespace

std::string RestoreFileBytes(const std::vector<PlannedRename>& plan) {
  std::string text;
  std::string piece;
  RecordPieces pieces(plan, nullptr);
  while (pieces.Next(piece)) text += piece;
  return text;
}

std::string OutcomeBytes(const std::vector<PlannedRename>& plan) {
  std::string text;
  for (std::size_t row = 0; row < plan.size(); ++row) {
    const RowStatus status = plan[row].status;
    if (!IsFailure(status) && status != RowStatus::kPlanned) continue;
    if (text.empty()) AppendSection(text, kOutcomeSection);
    text += std::to_string(row);
    text += IsFailure(status) ? "=failed\n" : "=notreached\n";
  }
  if (!text.empty()) {
    text += kOutcomeEndKey;
    text += "=1\n";
  }
  return text;
}

void AppendRunOutcome(FileSystem& file_system, const std::string& path,
                      const std::vector<PlannedRename>& plan) {
  const std::string bytes = OutcomeBytes(plan);
  if (!bytes.empty()) file_system.AppendFile(path, bytes);
}

std::string WriteRestoreFile(FileSystem& file_system, const std::string& restore_folder,
                             const TextRules& rules, const std::vector<PlannedRename>& plan) {
  // A folder that cannot be made shows up as the refused write just below.
  file_system.CreateFolders(restore_folder);
  const LocalTime now = file_system.Now();
  const std::string folder = WithTrailingSeparator(restore_folder, rules);
  std::vector<std::string> keys;
  {
    std::vector<std::string_view> old_paths;
    old_paths.reserve(plan.size());
    for (const PlannedRename& row : plan) old_paths.push_back(row.old_path);
    keys = file_system.FileKeys(old_paths);
  }
  const std::string first_path = folder + RestoreFileName(now);
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string path = folder + RestoreFileName(now, attempt);
    RecordPieces pieces(plan, &keys);
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
  return FromOwnedBytes(bytes ? std::move(*bytes) : std::string());
}

RestoreRecord RestoreRecord::FromBytes(std::string_view bytes) {
  return FromOwnedBytes(std::string(bytes));
}

RestoreRecord RestoreRecord::FromOwnedBytes(std::string bytes) {
  RestoreRecord record;
  if (HasOverlongLine(bytes)) return record;
  auto owned = std::make_shared<const std::string>(std::move(bytes));
  record.rows_ = ReadWritersForm(*owned);
  if (record.rows_) {
    record.bytes_ = std::move(owned);
    record.outcome_complete_ = record.rows_->outcome_end == "1";
    return record;
  }
  // The writer records one line of UTF-8 for every path, so its paths read back byte for
  // byte; a Shift-JIS file of a Windows copy is read as such.
  record.profile_ = Profile::Parse(*owned);
  record.outcome_complete_ = record.profile_.Find(kOutcomeSection, kOutcomeEndKey) == "1";
  return record;
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

}  // namespace

std::optional<RestoreRecord::Rows> RestoreRecord::ReadWritersForm(std::string_view bytes) {
  // What the profile reader would find, read line by line as it does: the first section of
  // a name and the first line of a key count. The rows of a section must come numbered
  // 0, 1, 2 ... (the outcome's rising) as the writer puts them; a gap, rows out of order,
  // a byte order mark or text that is not UTF-8 leave the record to the profile reader.
  if (bytes.starts_with("\xEF\xBB\xBF") || !IsValidUtf8(bytes)) return std::nullopt;
  enum class Section { kNone, kCount, kBefore, kAfter, kIdentity, kOutcome, kOther };
  const std::pair<std::string_view, Section> kSections[] = {{kCountSection, Section::kCount},
                                                            {kBeforeSection, Section::kBefore},
                                                            {kAfterSection, Section::kAfter},
                                                            {kIdentitySection, Section::kIdentity},
                                                            {kOutcomeSection, Section::kOutcome}};
  Rows rows;
  bool seen[std::size(kSections)] = {};
  Section section = Section::kNone;
  bool writers_form = true;
  ForEachProfileLine(bytes, [&](const ProfileLine& line) {
    if (line.is_section) {
      section = Section::kOther;
      for (std::size_t i = 0; i < std::size(kSections); ++i) {
        if (!SameProfileName(line.name, kSections[i].first)) continue;
        // A second section of a name is not read.
        section = seen[i] ? Section::kNone : kSections[i].second;
        seen[i] = true;
      }
      return true;
    }
    const std::string_view key = line.name;
    if (key.empty()) return true;
    std::vector<std::string_view>* values = nullptr;
    switch (section) {
      case Section::kNone:
      case Section::kOther:
        return true;
      case Section::kCount:
        if (!rows.count && SameProfileName(key, kCountKey)) {
          rows.count = line.value;
          // Room for the rows at once, as far as the file's size allows a forged count.
          const long count = ParseProfileInteger(line.value).value_or(0);
          const auto room =
              std::min(static_cast<std::size_t>(std::max(0L, count)), bytes.size() / 4);
          for (auto* column : {&rows.before, &rows.after, &rows.identity}) column->reserve(room);
        }
        return true;
      case Section::kOutcome: {
        if (SameProfileName(key, kOutcomeEndKey)) {
          if (!rows.outcome_end) rows.outcome_end = line.value;
          return true;
        }
        const long row = RowOfKey(key);
        if (row < 0) return true;
        const long last = rows.outcome.empty() ? -1 : rows.outcome.back().first;
        if (row < last) return writers_form = false;
        if (row > last) rows.outcome.emplace_back(static_cast<int>(row), line.value);
        return true;
      }
      case Section::kBefore:
        values = &rows.before;
        break;
      case Section::kAfter:
        values = &rows.after;
        break;
      case Section::kIdentity:
        values = &rows.identity;
        break;
    }
    const long row = RowOfKey(key);
    if (row < 0 || static_cast<std::size_t>(row) < values->size()) return true;
    if (static_cast<std::size_t>(row) > values->size()) return writers_form = false;
    values->push_back(line.value);
    return true;
  });
  if (!writers_form) return std::nullopt;
  return rows;
}

int RestoreRecord::Count() const {
  const auto value = rows_ ? rows_->count : profile_.Find(kCountSection, kCountKey);
  if (!value) return 0;
  return ParseProfileInteger(*value).value_or(0);
}

std::string_view RestoreRecord::Path(std::string_view section,
                                     const std::vector<std::string_view>& values,
                                     std::unordered_map<int, std::string>& decoded, int row) const {
  std::string_view value;
  if (!rows_) {
    value = profile_.Find(section, std::to_string(row)).value_or(std::string_view{});
  } else if (row >= 0 && static_cast<std::size_t>(row) < values.size()) {
    value = values[static_cast<std::size_t>(row)];
  }
  if (value.substr(0, kEscapedPrefix.size()) != kEscapedPrefix) return value;
  const auto [at, added] = decoded.try_emplace(row);
  if (added) at->second = DecodeRecordedPath(value);
  return at->second;
}

std::string_view RestoreRecord::Before(int row) const {
  return Path(kBeforeSection, rows_ ? rows_->before : kNoValues, decoded_before_, row);
}

std::string_view RestoreRecord::After(int row) const {
  return Path(kAfterSection, rows_ ? rows_->after : kNoValues, decoded_after_, row);
}

bool RestoreRecord::HasIdentities() const {
  if (rows_) return !rows_->identity.empty();
  return profile_.Find(kIdentitySection, "0").has_value();
}

std::string_view RestoreRecord::Identity(int row) const {
  if (!rows_) {
    return profile_.Find(kIdentitySection, std::to_string(row)).value_or(std::string_view{});
  }
  const auto index = static_cast<std::size_t>(row);
  return row >= 0 && index < rows_->identity.size() ? rows_->identity[index] : std::string_view{};
}

bool RestoreRecord::NotRenamed(int row) const {
  if (!outcome_complete_) return false;
  std::optional<std::string_view> value;
  if (!rows_) {
    value = profile_.Find(kOutcomeSection, std::to_string(row));
  } else {
    const auto& outcome = rows_->outcome;
    const auto at =
        std::lower_bound(outcome.begin(), outcome.end(), row,
                         [](const auto& entry, int wanted) { return entry.first < wanted; });
    if (at != outcome.end() && at->first == row) value = at->second;
  }
  return value == "failed" || value == "notreached";
}

}  // namespace zefa
