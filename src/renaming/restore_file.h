// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "renaming/rename_plan.h"
#include "settings/profile.h"
#include "text/text_rules.h"

namespace zefa {

inline constexpr const char* kRestoreExtension = ".zefa";
inline constexpr const char* kRestoreFilter = "ZeFaファイル(*.zefa)|*.zefa";
/** A larger file is no restore file: the record of a million rows stays well under it. */
inline constexpr std::size_t kMaxRestoreFileBytes = std::size_t{300} << 20;
/** No path that a run records is longer: a record holding a longer one is invalid. */
inline constexpr std::size_t kMaxRecordedPathBytes = 4096;

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
std::string RestoreFileBytes(const std::vector<PlannedRename>& plan);

/**
 * The section [notrenamed] added once the renames have ended: each row of `plan` that
 * failed ("failed") or that a stopped run never reached ("notreached"), then "end=1",
 * so that a section cut short by a crash is never taken for a whole one. "" when every
 * row was renamed.
 */
std::string OutcomeBytes(const std::vector<PlannedRename>& plan);

/**
 * A path as a restore file records it. A path of UTF-8 on one line is written as it is.
 * Any other path (bytes that are not UTF-8, a line break, or a path that itself begins
 * with "file://") is written as "file://" followed by the path with "%", control bytes
 * and every byte that is no part of a UTF-8 character as %XX: the line stays one line
 * of UTF-8 and reads back byte for byte. A Windows copy's paths begin with a drive.
 */
std::string EncodeRecordedPath(std::string_view path);

/** The path that EncodeRecordedPath recorded as `value`. */
std::string DecodeRecordedPath(std::string_view value);

/**
 * Writes the record and the identity of every row's file into `restore_folder` (created
 * with its parents when missing), flushed to the disk, under a name that no earlier
 * restore file holds; returns its path. The section [identity] follows the record: for
 * each row, what makes its file that file (device and inode), empty when nothing was
 * there; readers of the three sections before it skip it, as they skip every section
 * they do not know. The file is written as it is made, in pieces.
 * Throws CommandError "<path> に書き込めません" when the platform refuses the write.
 */
std::string WriteRestoreFile(FileSystem& file_system, const std::string& restore_folder,
                             const TextRules& rules, const std::vector<PlannedRename>& plan);

/**
 * Adds the outcome of the run (OutcomeBytes) to the restore file at `path`, flushed to
 * the disk; nothing when every row was renamed. A refusal is not reported: the identities
 * alone tell the undo which rows moved.
 */
void AppendRunOutcome(FileSystem& file_system, const std::string& path,
                      const std::vector<PlannedRename>& plan);

/**
 * A restore file read once. A record in the form this program writes is read in one pass
 * into row-numbered views of its bytes; any other (a hand-edited or Windows copy's file)
 * through the profile reader, with a hash look-up per row.
 */
class RestoreRecord {
 public:
  /**
   * A missing or unreadable file reads as an empty record, and so does anything but a
   * regular file, a file over kMaxRestoreFileBytes and one with a line no run writes.
   */
  static RestoreRecord Read(FileSystem& file_system, const std::string& path);
  static RestoreRecord FromBytes(std::string_view bytes);

  /** The "count" of section "Count"; 0 when absent or no integer. */
  int Count() const;
  /** The recorded paths of a row (DecodeRecordedPath); empty when absent. */
  std::string_view Before(int row) const;
  std::string_view After(int row) const;
  /** Whether the record holds the identities of its rows' files. */
  bool HasIdentities() const;
  /** The identity of row's file; empty when not recorded. */
  std::string_view Identity(int row) const;
  /** Whether the run recorded, in a whole [notrenamed] section, that it did not move the row. */
  bool NotRenamed(int row) const;
  /** The file's bytes, into which most values are views; null for a record read otherwise. */
  const std::shared_ptr<const std::string>& Bytes() const { return bytes_; }

 private:
  /** The values of a record in the writer's form, as views into `bytes_`. */
  struct Rows {
    std::optional<std::string_view> count;
    std::vector<std::string_view> before;
    std::vector<std::string_view> after;
    std::vector<std::string_view> identity;
    std::vector<std::pair<int, std::string_view>> outcome;  // rows rising
    std::optional<std::string_view> outcome_end;
  };
  static std::optional<Rows> ReadWritersForm(std::string_view bytes);
  static RestoreRecord FromOwnedBytes(std::string bytes);

  std::string_view Path(std::string_view section, const std::vector<std::string_view>& values,
                        std::unordered_map<int, std::string>& decoded, int row) const;

  // Shared and never changed, so that the views stay valid when the record is moved or copied.
  std::shared_ptr<const std::string> bytes_;
  std::optional<Rows> rows_;
  Profile profile_;
  bool outcome_complete_ = false;
  // Paths recorded in their escaped form, decoded on the first look-up.
  mutable std::unordered_map<int, std::string> decoded_before_;
  mutable std::unordered_map<int, std::string> decoded_after_;
};

}  // namespace zefa
