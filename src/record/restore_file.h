// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "change/row_change.h"
#include "platform/file_system.h"
#include "record/recorded_path.h"
#include "text/text_rules.h"

namespace zefa {

inline constexpr const char* kRestoreExtension = ".zefa";
inline constexpr const char* kRestoreFilter = "ZeFaファイル(*.zefa)|*.zefa";
/** A larger file is no restore file: the record of a million rows stays well under it. */
inline constexpr std::size_t kMaxRestoreFileBytes = std::size_t{300} << 20;

/**
 * The name of a restore file made at `time`, as 2026年3月7日09時05分03秒.zefa. Attempt 2, 3 …
 * (a second run in the same second) puts "_2", "_3" … before the extension.
 */
std::string RestoreFileName(const LocalTime& time, int attempt = 1);

/**
 * The whole record of a run: [Count] count=N, [before] 0..N-1 with the old paths,
 * [after] 0..N-1 with the new paths (EncodeRecordedPath), byte for byte what a key-by-key profile
 * writer leaves behind (LF line ends, values quoted where blanks or quotes would be lost).
 */
std::string RestoreFileBytes(const std::vector<RowChange>& plan);

/**
 * The section [notrenamed] added once the renames have ended: each row of `plan` that
 * failed ("failed") or that a stopped run never reached ("notreached"), then "end=1",
 * so that a section cut short by a crash is never taken for a whole one. "" when every
 * row was renamed.
 */
std::string OutcomeBytes(const std::vector<RowChange>& plan);

/**
 * The identities of a list's files, read on a second thread from the moment it is made
 * while the run is planned and checked, so that the restore file waits for none of them.
 * What it read goes stale: the record takes an identity only for the row's path as it was
 * read, and only when the reading ended at most two seconds before the record asks (a run
 * whose restore question was answered later reads them afresh). Nothing is read where the
 * file system may not be asked from a second thread.
 */
class IdentitiesReadAhead {
 public:
  /** Starts reading the identities of `paths`, which stay as they are while it lives. */
  IdentitiesReadAhead(FileSystem& file_system, const std::vector<std::string>& paths);
  IdentitiesReadAhead(const IdentitiesReadAhead&) = delete;
  IdentitiesReadAhead& operator=(const IdentitiesReadAhead&) = delete;
  /** Stops the reading between two stretches of rows. */
  ~IdentitiesReadAhead();

  /**
   * The identity read for `row` when its path was `path`, once the reading has ended;
   * nothing when it was not read, the path differs or the reading is stale.
   */
  std::optional<std::string_view> Identity(std::size_t row, std::string_view path);

 private:
  void Read();

  FileSystem& file_system_;
  const std::vector<std::string>& paths_;
  std::string text_;                 // every row's identity, one after the other
  std::vector<std::uint32_t> ends_;  // where each row's identity ends in text_
  std::chrono::steady_clock::time_point ended_;
  std::atomic<bool> stop_ = false;
  std::thread reader_;
  std::optional<bool> fresh_;  // known once the record first asks
};

/**
 * Writes the record and the identity of every row's file into `restore_folder` (created
 * with its parents when missing), flushed to the disk, under a name that no earlier
 * restore file holds; returns its path. The section [identity] follows the record: for
 * each row, what makes its file that file (FileSystem::FileIdentities), empty when nothing was
 * there; readers of the three sections before it skip it, as they skip every section
 * they do not know. The record is pushed to the file as it is made, a piece at a time.
 * Throws CommandError "<path> に書き込めません" when the platform refuses the write.
 */
std::string WriteRestoreFile(FileSystem& file_system, const std::string& restore_folder,
                             const TextRules& rules, const std::vector<RowChange>& plan,
                             IdentitiesReadAhead* read_ahead = nullptr);

/**
 * Adds the outcome of the run (OutcomeBytes) to the restore file at `path`, flushed to
 * the disk; nothing when every row was renamed. A refusal is not reported: the identities
 * alone tell the undo which rows moved.
 */
void AppendRunOutcome(FileSystem& file_system, const std::string& path,
                      const std::vector<RowChange>& plan);

/** One row of a restore record; the views point into the record, which must outlive them. */
struct RestoreRow {
  std::string_view before;    // the old path (DecodeRecordedPath)
  std::string_view after;     // the new path (DecodeRecordedPath)
  std::string_view identity;  // what made the file that file at the run; "" when not recorded
  bool not_renamed = false;   // recorded, in a whole [notrenamed] section, as not moved
};

/**
 * A restore file read once, in one pass of the profile's line reader: what the profile
 * reader would find (the first section of a name, in it the first line of a key, names in
 * any case, blanks and one pair of quotes dropped, Shift-JIS text read as such), held as
 * the rows 0, 1, 2 ... that have a new path. The record keeps the values it read, not the
 * file's text: a million rows take their paths and identities, not their keys and lines.
 */
class RestoreRecord {
 public:
  /**
   * A missing or unreadable file reads as an empty record (ReadFailure() says why), and so
   * does anything but a regular file, a file over kMaxRestoreFileBytes and one with a line
   * no run writes.
   */
  static RestoreRecord Read(FileSystem& file_system, const std::string& path);
  static RestoreRecord Parse(std::string bytes);

  /** The "count" of section "Count"; 0 when absent or no integer. */
  int Count() const { return count_; }
  /**
   * The rows read: from row 0 up to the first without a new path, at most Count(); a row
   * holding a value longer than any recorded path ends them too (Overlong()).
   */
  std::size_t size() const { return rows_.size(); }
  RestoreRow Row(std::size_t row) const;
  /** Whether every counted row was read (and there is at least one). */
  bool Complete() const { return count_ > 0 && rows_.size() == static_cast<std::size_t>(count_); }
  /** Whether a row holds a value longer than any path a run records. */
  bool Overlong() const { return overlong_; }
  /** The new path of row 0, whatever the count; "" when absent. */
  std::string_view FirstNewPath() const { return View(first_after_); }
  /** Whether the record holds the identities of its rows' files. */
  bool HasIdentities() const { return has_identities_; }
  /** Why Read found no bytes to read; nullopt when it read the file. */
  std::optional<zefa::ReadFailure> ReadFailure() const { return read_failure_; }
  /**
   * Gives back the room of the identities once the undo has been decided by them: every
   * row's identity is "" afterwards, while HasIdentities() still says the record held them.
   */
  void ForgetIdentities();

 private:
  friend class RecordReader;  // restore_reader.cc
  // A value read, in 32 bits: a row costs 28 bytes beyond its values.
  struct Span {
    std::uint32_t at = 0;
    std::uint32_t size = 0;
  };
  struct StoredRow {
    Span before, after, identity;
    // Which values were read: the first line of a key wins.
    bool has_before : 1 = false;
    bool has_after : 1 = false;
    bool has_identity : 1 = false;
    bool has_outcome : 1 = false;
    bool not_renamed : 1 = false;  // the outcome section says the row did not move
  };
  std::string_view View(Span span) const {
    return std::string_view(text_).substr(span.at, span.size);
  }
  void DecodeInPlace(Span& span);

  std::string text_;        // the paths read, one after the other
  std::string identities_;  // the identities read, one after the other
  std::vector<StoredRow> rows_;
  Span first_after_;
  int count_ = 0;
  bool has_identities_ = false;
  bool outcome_complete_ = false;
  bool overlong_ = false;
  std::optional<zefa::ReadFailure> read_failure_;
};

/** Why a restore file could not be read, as the undo's box says it; "" for kNothingThere. */
std::string ReadFailureText(ReadFailure failure);

}  // namespace zefa
