// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

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
 * Writes the record into `restore_folder` (created with its parents when missing),
 * flushed to the disk, under a name that no earlier restore file holds; returns its path.
 * Throws CommandError "<path> に書き込めません" when the platform refuses the write.
 */
std::string WriteRestoreFile(FileSystem& file_system, const std::string& restore_folder,
                             const TextRules& rules, const std::vector<PlannedRename>& plan);

/** A restore file read once; every look-up after that is a hash look-up. */
class RestoreRecord {
 public:
  /** A missing or unreadable file reads as an empty record. */
  static RestoreRecord Read(FileSystem& file_system, const std::string& path);
  static RestoreRecord FromBytes(std::string_view bytes);

  /** The "count" of section "Count"; 0 when absent or no integer. */
  int Count() const;
  /** The recorded paths of a row (DecodeRecordedPath); empty when absent. */
  std::string_view Before(int row) const;
  std::string_view After(int row) const;

 private:
  std::string_view Path(std::string_view section, std::unordered_map<int, std::string>& decoded,
                        int row) const;

  Profile profile_;
  // Paths recorded in their escaped form, decoded on the first look-up.
  mutable std::unordered_map<int, std::string> decoded_before_;
  mutable std::unordered_map<int, std::string> decoded_after_;
};

}  // namespace zefa
