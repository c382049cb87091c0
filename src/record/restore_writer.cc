// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The restore file's writer: the record of a run, pushed into a sink a piece at a time.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>

#include "platform/command_error.h"
#include "platform/program_paths.h"
#include "record/recorded_path.h"
#include "record/restore_file.h"
#include "record/restore_sections.h"
#include "settings/profile.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

namespace sections = restore_sections;

// Restore files of one second beyond this many are refused rather than searched forever.
constexpr int kMaxAttempts = 1000;
// The bytes gathered before they go to the sink: a run of a million rows never holds
// the whole file.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
// The identities are looked up this many rows at a time, as they are written.
constexpr std::size_t kStretchRows = 4096;

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

void AppendPathKey(std::string& text, std::size_t row, std::string_view path) {
  if (NeedsEscape(path)) {
    AppendKey(text, std::to_string(row), EncodeRecordedPath(path));
  } else {
    AppendKey(text, std::to_string(row), path);
  }
}

std::vector<std::string_view> OldPathsOfStretch(const std::vector<RowChange>& changes,
                                                std::size_t stretch) {
  std::vector<std::string_view> paths;
  const std::size_t first = stretch * kStretchRows;
  for (std::size_t row = first; row < changes.size() && row < first + kStretchRows; ++row) {
    paths.push_back(changes[row].old_path());
  }
  return paths;
}

// The identities of stretch `stretch`: what `read_ahead` holds of each row, the rest read now.
std::vector<std::string> ReadStretch(const std::vector<RowChange>& changes, std::size_t stretch,
                                     FileSystem& file_system, IdentitiesReadAhead* read_ahead) {
  const std::vector<std::string_view> paths = OldPathsOfStretch(changes, stretch);
  if (read_ahead == nullptr) return file_system.FileIdentities(paths);
  std::vector<std::string> identities(paths.size());
  std::vector<std::string_view> unread;
  std::vector<std::size_t> unread_at;
  const std::size_t first = stretch * kStretchRows;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const auto row = static_cast<std::size_t>(changes[first + i].row);
    if (const std::optional<std::string_view> read = read_ahead->Identity(row, paths[i])) {
      identities[i] = *read;
    } else {
      unread.push_back(paths[i]);
      unread_at.push_back(i);
    }
  }
  if (!unread.empty()) {
    std::vector<std::string> read = file_system.FileIdentities(unread);
    for (std::size_t j = 0; j < read.size() && j < unread_at.size(); ++j) {
      identities[unread_at[j]] = std::move(read[j]);
    }
  }
  return identities;
}

/**
 * Writes the record of `changes` into `sink`: the count, the old paths, the new paths and,
 * when `identities` is given, the identity of each row's file, looked up as its stretch
 * of rows is written. False when the sink refused a piece.
 */
class RecordWriter {
 public:
  RecordWriter(const std::vector<RowChange>& changes, FileSystem* identities, const PieceSink& sink,
               IdentitiesReadAhead* read_ahead = nullptr)
      : changes_(changes), identities_(identities), read_ahead_(read_ahead), sink_(sink) {}

  bool Write() {
    AppendSection(piece_, sections::kCount);
    AppendKey(piece_, sections::kCountKey, std::to_string(changes_.size()));
    if (!changes_.empty()) {
      if (!WritePaths(sections::kBefore, &RowChange::old_path)) return false;
      if (!WritePaths(sections::kAfter, &RowChange::new_path)) return false;
      if (identities_ != nullptr && !WriteIdentities()) return false;
    }
    return piece_.empty() || sink_(piece_);
  }

 private:
  bool WritePaths(std::string_view section, std::string_view (RowChange::*path)() const) {
    AppendSection(piece_, section);
    for (std::size_t row = 0; row < changes_.size(); ++row) {
      AppendPathKey(piece_, row, (changes_[row].*path)());
      if (!PushWhenFull()) return false;
    }
    return true;
  }

  bool WriteIdentities() {
    AppendSection(piece_, sections::kIdentity);
    std::string previous;  // the identity written last
    for (std::size_t first = 0, stretch = 0; first < changes_.size();
         first += kStretchRows, ++stretch) {
      const std::vector<std::string> read =
          ReadStretch(changes_, stretch, *identities_, read_ahead_);
      for (std::size_t i = 0; first + i < changes_.size() && i < kStretchRows; ++i) {
        piece_ += std::to_string(first + i);
        piece_ += '=';
        // The second step of a change of case moves the file of the step before it, which
        // is not at its temporary name yet: it is recorded as that file.
        if (changes_[first + i].step != ChangeStep::kFromTemporary) {
          previous.clear();
          if (i < read.size()) previous = read[i];
        }
        piece_ += previous;
        piece_ += '\n';
        if (!PushWhenFull()) return false;
      }
    }
    return true;
  }

  bool PushWhenFull() {
    if (piece_.size() < kPieceBytes) return true;
    const bool taken = sink_(piece_);
    piece_.clear();
    return taken;
  }

  const std::vector<RowChange>& changes_;
  FileSystem* identities_;
  IdentitiesReadAhead* read_ahead_;
  const PieceSink& sink_;
  std::string piece_;
};

}  // namespace

IdentitiesReadAhead::IdentitiesReadAhead(FileSystem& file_system,
                                         const std::vector<std::string>& paths)
    : file_system_(file_system), paths_(paths) {
  if (!file_system.AnswersFromAnyThread() || paths.empty()) return;
  // The room for every identity is taken here, in one block that goes back to the system
  // whole once the record is written; grown on the reading thread it would stay behind.
  constexpr std::size_t kIdentityBytes = 96;  // a little more than a long identity's
  text_.reserve(paths.size() * kIdentityBytes);
  ends_.reserve(paths.size());
  reader_ = std::thread([this] { Read(); });
}

IdentitiesReadAhead::~IdentitiesReadAhead() {
  stop_ = true;
  if (reader_.joinable()) reader_.join();
}

void IdentitiesReadAhead::Read() {
  std::vector<std::string_view> paths;
  for (std::size_t first = 0; first < paths_.size() && !stop_; first += kStretchRows) {
    paths.assign(paths_.begin() + static_cast<std::ptrdiff_t>(first),
                 paths_.begin() +
                     static_cast<std::ptrdiff_t>(std::min(paths_.size(), first + kStretchRows)));
    for (const std::string& identity : file_system_.FileIdentities(paths)) {
      // A record larger than 32 bits of identities is read as it is written instead.
      if (text_.size() + identity.size() >= UINT32_MAX) return;
      text_ += identity;
      ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
  }
  ended_ = std::chrono::steady_clock::now();
}

std::optional<std::string_view> IdentitiesReadAhead::Identity(std::size_t row,
                                                              std::string_view path) {
  if (!fresh_) {
    if (reader_.joinable()) reader_.join();
    constexpr auto kFreshFor = std::chrono::seconds(2);
    fresh_ =
        ends_.size() == paths_.size() && std::chrono::steady_clock::now() - ended_ <= kFreshFor;
  }
  if (!*fresh_ || row >= ends_.size() || paths_[row] != path) return std::nullopt;
  const std::uint32_t start = row == 0 ? 0 : ends_[row - 1];
  return std::string_view(text_).substr(start, ends_[row] - start);
}

std::string RestoreFileName(const LocalTime& time, int attempt) {
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%04d年%d月%d日%02d時%02d分%02d秒", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  std::string name = stamp;
  if (attempt > 1) name += "_" + std::to_string(attempt);
  return name + kRestoreExtension;
}

std::string RestoreFileBytes(const std::vector<RowChange>& plan) {
  std::string text;
  RecordWriter(plan, nullptr, [&](std::string_view piece) {
    text += piece;
    return true;
  }).Write();
  return text;
}

std::string OutcomeBytes(const std::vector<RowChange>& plan) {
  std::string text;
  for (std::size_t row = 0; row < plan.size(); ++row) {
    const ChangeStatus status = plan[row].status;
    if (status == ChangeStatus::kDone || status == ChangeStatus::kUnchanged) continue;
    const bool failed = status == ChangeStatus::kFailed || status == ChangeStatus::kRefused;
    if (text.empty()) AppendSection(text, sections::kOutcome);
    text += std::to_string(row);
    text += failed ? "=failed\n" : "=notreached\n";
  }
  if (!text.empty()) {
    text += sections::kOutcomeEndKey;
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
                             const TextRules& rules, const std::vector<RowChange>& plan,
                             IdentitiesReadAhead* read_ahead) {
  // A folder that cannot be made shows up as the refused write just below.
  file_system.CreateFolders(restore_folder);
  const LocalTime now = file_system.Now();
  const std::string folder = WithTrailingSeparator(restore_folder, rules);
  const std::string first_path = folder + RestoreFileName(now);
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string path = folder + RestoreFileName(now, attempt);
    const auto write = [&](const PieceSink& sink) {
      return RecordWriter(plan, &file_system, sink, read_ahead).Write();
    };
    if (file_system.WriteFileInPieces(path, write, WriteMode::kCreateNew)) return path;
    // Only a name taken by an earlier record moves on to the next; anything else is a refusal.
    if (!file_system.FileExists(path) && !file_system.FolderExists(path)) {
      throw WriteRefused(path);
    }
  }
  throw WriteRefused(first_path);
}

}  // namespace zefa
