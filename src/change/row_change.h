// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zefa {

/**
 * Why a change did not, or will not, happen. One list for every step: the checks before a
 * run, its play-through, the platform's renames and the undo.
 */
enum class ChangeReason : std::uint8_t {
  kNone,
  // Checks before the run: while one of these stands, the run does not start.
  kFileMissing,           // nothing at the listed path any more
  kNotAFile,              // something that is no file (a folder) stands at the listed path
  kNoUniqueName,          // a pattern without number, no common name and no unique name
  kSeparatorInBracket,    // a bracket text would move every file out of its folder
  kSeparatorInUnique,     // the unique name would move the file out of its folder
  kSeparatorInExtension,  // the extension would move the file out of its folder
  // The play-through: what the run will meet, found without touching a file.
  kNameTaken,         // a file outside the list already has the new path
  kHeldByListedFile,  // a listed file still has the new path when the row's turn comes
  kSameNewPath,       // an earlier row's file has just been given the same new path
  kNameTooLong,       // the new name is longer than its folder allows
  kNameRefused,       // no file can be called that: empty, "." or ".." or a NUL byte
  kSourceGone,        // an earlier row has moved this row's file away (it is listed twice)
  // The platform's answer to a rename.
  kTargetExists,   // something stands at the new path; nothing changed
  kSourceMissing,  // nothing at the old path (for the undo: the file is at neither path)
  kRenameRefused,  // any other refusal of the platform
  // What the undo finds at a recorded new path before it renames anything.
  kReplaced,    // another file stands there
  kNoFile,      // what stands there is a folder or no regular file
  kNoIdentity,  // the record names no file for the row: nothing tells its file from another
};

/** Where a change stands; every state but kPlanned is final. */
enum class ChangeStatus : std::uint8_t {
  kPlanned,    // not carried out yet; nothing found against it
  kRefused,    // a check before the run refuses it: the run does not start (reason says why)
  kWillFail,   // the play-through finds that the run will not make it (reason says why)
  kDone,       // the file now has its new path
  kUnchanged,  // nothing to do (the new path is the old one, or the file is there already)
  kFailed,     // tried or looked at and not made (reason says why)
};

/**
 * The steps of a change. A change of case alone, on a file system that ignores case, takes
 * two: to a temporary name, then on from there. The undo's changes give back a recorded
 * name.
 */
enum class ChangeStep : std::uint8_t { kWhole, kToTemporary, kFromTemporary, kBack };

/**
 * One row's change: from its old to its new path, built once and carried from the plan
 * through the checks, the play-through, the execution and the restore record to the undo.
 * The paths and the identity are views: into the list, into a PathStore that owns composed
 * names, or into a restore record; a change never copies a path, so that a million rows
 * cost 56 bytes each beyond their paths.
 */
class RowChange {
 public:
  std::string_view old_path() const { return {old_, old_size_}; }
  std::string_view new_path() const { return {new_, new_size_}; }
  /** What made the file that file when the run began; "" where not known. */
  std::string_view identity() const { return {identity_, identity_size_}; }
  void set_old_path(std::string_view path) { Set(old_, old_size_, path); }
  void set_new_path(std::string_view path) { Set(new_, new_size_, path); }
  void set_identity(std::string_view identity) { Set(identity_, identity_size_, identity); }

  /** Whether the change refuses, will fail, or failed: `reason` says why. */
  bool Fails() const { return reason != ChangeReason::kNone; }

  std::int32_t row = 0;         // the list's (or the record's) row it is the change of
  std::int32_t number = 0;      // the row's serial number, in the name unless the pattern has none
  std::int32_t other_row = -1;  // the 0-based row a reason names (kHeldByListedFile ...)
  ChangeStep step = ChangeStep::kWhole;
  ChangeStatus status = ChangeStatus::kPlanned;
  ChangeReason reason = ChangeReason::kNone;
  char found = '\0';  // the separator found, for kSeparatorIn...

 private:
  static void Set(const char*& data, std::uint32_t& size, std::string_view text) {
    data = text.data();
    size = static_cast<std::uint32_t>(text.size());
  }
  const char* old_ = nullptr;
  const char* new_ = nullptr;
  const char* identity_ = nullptr;
  std::uint32_t old_size_ = 0;
  std::uint32_t new_size_ = 0;
  std::uint32_t identity_size_ = 0;
};

/** A planned change of row `row` from `old_path` to `new_path`, whose bytes outlive it. */
inline RowChange ChangeOf(std::string_view old_path, std::string_view new_path, int row = 0) {
  RowChange change;
  change.row = row;
  change.set_old_path(old_path);
  change.set_new_path(new_path);
  return change;
}

/** Marks `change` as not made for `reason` with `status`; the first reason found stays. */
inline void MarkChange(RowChange& change, ChangeStatus status, ChangeReason reason) {
  if (change.reason != ChangeReason::kNone) return;
  change.status = status;
  change.reason = reason;
}

/**
 * The text of a change's path store: composed names that views of RowChange point into.
 * Text is kept in blocks that never move, so that a view stays valid while the store lives,
 * however much is added, and the store may be moved.
 */
class PathStore {
 public:
  std::string_view Keep(std::string_view text);

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = kBlockBytes;  // of the last block; full when there is none
};

/** "<where>に使えない文字"<found>"が含まれています": a part of a name that holds a separator. */
std::string UnusableCharText(std::string_view where, char found);

/** The reason of `change` as the preview and the failure reports say it; "" for none. */
std::string ReasonText(const RowChange& change);

/**
 * A failure list as every report shows it: `head`, then the first 20 lines of `lines`
 * (each on a line of its own), then "他" N "個" for the rest; "" when there are none.
 */
std::string FailureList(std::string_view head, const std::vector<std::string>& lines,
                        std::size_t total);

/** Failed rows named one by one in a failure report; the rest are counted. */
inline constexpr std::size_t kReportedFailures = 20;

/**
 * No path of a change is longer when a restore file records it: the run refuses a longer
 * one before it renames anything (kNameTooLong), and a record holding one is invalid. A
 * file in a folder whose own path is near the system's 4,096 bytes still has a longer
 * path, which the run renames inside its folder: the bound leaves room for that.
 */
inline constexpr std::size_t kMaxRecordedPathBytes = 8192;

/** The line break of every message box. */
inline constexpr std::string_view kLineBreak = "\n\r";

}  // namespace zefa
