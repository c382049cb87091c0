// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/restore_file.h"

#include <cstdio>

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

void AppendPathKey(std::string& text, std::size_t row, const std::string& path) {
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

std::string RestoreFileBytes(const std::vector<PlannedRename>& plan) {
  std::size_t size = 64;
  for (const PlannedRename& row : plan) size += row.old_path.size() + row.new_path.size() + 32;
  std::string text;
  text.reserve(size);
  AppendSection(text, kCountSection);
  AppendKey(text, kCountKey, std::to_string(plan.size()));
  if (plan.empty()) return text;
  AppendSection(text, kBeforeSection);
  for (std::size_t row = 0; row < plan.size(); ++row) {
    AppendPathKey(text, row, plan[row].old_path);
  }
  AppendSection(text, kAfterSection);
  for (std::size_t row = 0; row < plan.size(); ++row) {
    AppendPathKey(text, row, plan[row].new_path);
  }
  return text;
}

std::string IdentityBytes(const std::vector<std::string>& identities) {
  std::string text;
  text.reserve(16 + identities.size() * 32);
  AppendSection(text, kIdentitySection);
  for (std::size_t row = 0; row < identities.size(); ++row) {
    text += std::to_string(row);
    text += '=';
    text += identities[row];
    text += '\n';
  }
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
  std::vector<std::string> identities;
  identities.reserve(plan.size());
  for (const PlannedRename& row : plan) {
    identities.push_back(file_system.FileKey(row.old_path).value_or(std::string{}));
  }
  const std::string bytes =
      RestoreFileBytes(plan) + (plan.empty() ? std::string() : IdentityBytes(identities));
  const std::string first_path = folder + RestoreFileName(now);
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string path = folder + RestoreFileName(now, attempt);
    if (file_system.WriteFile(path, bytes, WriteMode::kCreateNew)) return path;
    // Only a name taken by an earlier record moves on to the next; anything else is a refusal.
    if (!file_system.FileExists(path) && !file_system.FolderExists(path)) {
      throw WriteRefused(path);
    }
  }
  throw WriteRefused(first_path);
}

RestoreRecord RestoreRecord::Read(FileSystem& file_system, const std::string& path) {
  const auto bytes = file_system.ReadFile(path, kMaxRestoreFileBytes);
  return FromBytes(bytes ? std::string_view(*bytes) : std::string_view{});
}

RestoreRecord RestoreRecord::FromBytes(std::string_view bytes) {
  RestoreRecord record;
  if (HasOverlongLine(bytes)) return record;
  // The writer records one line of UTF-8 for every path, so its paths read back byte for
  // byte; a Shift-JIS file of a Windows copy is read as such.
  record.profile_ = Profile::Parse(bytes);
  record.outcome_complete_ = record.profile_.Find(kOutcomeSection, kOutcomeEndKey) == "1";
  return record;
}

int RestoreRecord::Count() const {
  const auto value = profile_.Find(kCountSection, kCountKey);
  if (!value) return 0;
  return ParseProfileInteger(*value).value_or(0);
}

std::string_view RestoreRecord::Path(std::string_view section,
                                     std::unordered_map<int, std::string>& decoded, int row) const {
  const std::string_view value =
      profile_.Find(section, std::to_string(row)).value_or(std::string_view{});
  if (value.substr(0, kEscapedPrefix.size()) != kEscapedPrefix) return value;
  const auto [at, added] = decoded.try_emplace(row);
  if (added) at->second = DecodeRecordedPath(value);
  return at->second;
}

std::string_view RestoreRecord::Before(int row) const {
  return Path(kBeforeSection, decoded_before_, row);
}

std::string_view RestoreRecord::After(int row) const {
  return Path(kAfterSection, decoded_after_, row);
}

bool RestoreRecord::HasIdentities() const {
  return profile_.Find(kIdentitySection, "0").has_value();
}

std::string_view RestoreRecord::Identity(int row) const {
  return profile_.Find(kIdentitySection, std::to_string(row)).value_or(std::string_view{});
}

bool RestoreRecord::NotRenamed(int row) const {
  if (!outcome_complete_) return false;
  const auto value = profile_.Find(kOutcomeSection, std::to_string(row));
  return value == "failed" || value == "notreached";
}

}  // namespace zefa
