// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "record/restore_file.h"
#include "record/undo.h"
#include "text/text_rules.h"

namespace zefa {

/** How far a run of the history came back. */
enum class RunState {
  kPending,         // not known yet: the record's files are still to be looked at
  kUndoable,        // every file of the run is where the run put it
  kUndone,          // the record notes that every file came back
  kPartlyUndone,    // the record notes that some files came back
  kNotAllUndoable,  // some file is no longer where the run put it, or the record is broken
};

/** The state as the history shows it: "元に戻せます", "元に戻しました" ... */
std::string RunStateText(RunState state);

/** What one line of the history shows of a restore file. */
struct RunSummary {
  std::string path;               // the restore file
  std::string name;               // its file name
  std::optional<LocalTime> time;  // from the name; nullopt for a name no run gives
  int attempt = 1;                // 2, 3 ... for the later runs of one second
  int count = 0;
  bool whole = false;  // the fields below come from the whole record, not from its head
  std::string folder;  // the one folder of every row; "" with many_folders or no row
  bool many_folders = false;
  std::string first_before;  // row 0's old and new paths; first_after "" until known
  std::string first_after;
  RunState state = RunState::kPending;
};

/** A record whose head holds it whole is summed up from the head alone: nearly every one. */
inline constexpr std::size_t kRunHeadBytes = 64 * 1024;

/**
 * The paths of the restore files (".zefa") in `folder`, newest first: by the local time
 * and the attempt their names hold; names that hold none come last.
 */
std::vector<std::string> ListRestoreFiles(FileSystem& file_system, const std::string& folder,
                                          const TextRules& rules);

/**
 * The line of the restore file at `path` from at most kRunHeadBytes of it: the count and the
 * first old path always; the rest, and a state that the record's own note settles (undone,
 * partly undone), when the head is the whole file.
 */
RunSummary ReadRunHead(FileSystem& file_system, const std::string& path, const TextRules& rules);

/**
 * Completes a line from the whole record: what the head lacked, and the state, for which
 * a record that notes no undo has its files looked at (PlanUndo).
 */
void CompleteRunSummary(RunSummary& summary, FileSystem& file_system, const TextRules& rules);

/** The rows that the record's whole [undone] sections note as back, ascending, each once. */
std::vector<std::size_t> UndoneRows(std::string_view record_text);

/**
 * The state that the note alone tells: kUndone when every row the run moved is noted,
 * kPartlyUndone when some are, kPending when none is.
 */
RunState StateFromNote(const RestoreRecord& record, const std::vector<std::size_t>& undone,
                       const TextRules& rules);

/**
 * The rows at their old paths after an undo: those renamed back, and those the plan found
 * there already. Nothing when the undo was invalid or stopped before any rename.
 */
std::vector<std::size_t> RowsBackAfterUndo(const RestoreRecord& record, const UndoPlan& plan,
                                           const TextRules& rules);

/**
 * The section [undone] that notes `rows` as back ("<row>=back" each, then "end=1", so that a
 * section cut short is never taken for a whole one); "" when there is none.
 */
std::string UndoneBytes(const std::vector<std::size_t>& rows);

/**
 * Adds the note of `rows` (UndoneBytes) to the record at `path`, flushed to the disk;
 * false when the platform refuses. Every undo adds its own section; all of them count.
 */
bool AppendUndoneRows(FileSystem& file_system, const std::string& path,
                      const std::vector<std::size_t>& rows);

/** The newest restore file of `folder` that does not note every row as back; "" when none. */
std::string NewestNotUndone(FileSystem& file_system, const std::string& folder,
                            const TextRules& rules);

}  // namespace zefa
