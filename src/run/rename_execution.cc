// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/rename_execution.h"

#include "platform/file_system.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr std::string_view kFailureHead = "以下のファイルのリネームに失敗しました";
// The renames handed to the file system at once: a million rows never need a second list
// of their paths.
constexpr std::size_t kBatchRows = std::size_t{1} << 16;

void SetOutcome(RowChange& change, ChangeReason reason) {
  change.reason = reason;
  change.status = reason == ChangeReason::kNone ? ChangeStatus::kDone : ChangeStatus::kFailed;
}

bool IsWhole(const RowChange& change) {
  return change.step == ChangeStep::kWhole || change.step == ChangeStep::kBack;
}

// A change of case through a temporary name. When the second step is refused the file
// goes back to its old name, and the first step counts as failed: nothing moved.
void RenameInTwoSteps(RowChange& first, RowChange& second, FileSystem& file_system) {
  SetOutcome(first, file_system.RenameNoReplace(std::string(first.old_path()),
                                                std::string(first.new_path())));
  if (first.status != ChangeStatus::kDone) {
    SetOutcome(second, first.reason);
    return;
  }
  SetOutcome(second, file_system.RenameNoReplace(std::string(second.old_path()),
                                                 std::string(second.new_path())));
  if (second.status == ChangeStatus::kDone) return;
  if (file_system.RenameNoReplace(std::string(first.new_path()), std::string(first.old_path())) ==
      ChangeReason::kNone) {
    SetOutcome(first, ChangeReason::kRenameRefused);
  }
}

}  // namespace

std::size_t RenamesOf(const std::vector<RowChange>& changes) {
  std::size_t renames = 0;
  for (const RowChange& change : changes) {
    renames += change.status != ChangeStatus::kRefused && change.new_path() != change.old_path();
  }
  return renames;
}

void ExecuteChanges(std::vector<RowChange>& changes, FileSystem& file_system,
                    const KeepGoing& keep_going) {
  std::size_t done = 0;
  bool stop = false;
  const KeepGoing counted = [&](std::size_t more) {
    stop = keep_going && !keep_going(done + more);
    return !stop;
  };
  std::vector<RenamePair> pairs;
  std::vector<RowChange*> renamed;
  for (std::size_t row = 0; row < changes.size() && !stop;) {
    // Whole changes go to the file system in batches, up to one that takes two steps.
    pairs.clear();
    renamed.clear();
    for (; row < changes.size() && IsWhole(changes[row]) && pairs.size() < kBatchRows; ++row) {
      RowChange& change = changes[row];
      if (change.status == ChangeStatus::kRefused) continue;
      change.status = ChangeStatus::kPlanned;
      change.reason = ChangeReason::kNone;
      if (change.new_path() == change.old_path()) {
        change.status = ChangeStatus::kUnchanged;
        continue;
      }
      pairs.push_back({change.old_path(), change.new_path()});
      renamed.push_back(&change);
    }
    if (!pairs.empty()) {
      const std::vector<ChangeReason> outcomes =
          file_system.RenameEachNoReplace(pairs, keep_going ? counted : KeepGoing{});
      for (std::size_t i = 0; i < renamed.size() && i < outcomes.size(); ++i) {
        SetOutcome(*renamed[i], outcomes[i]);
      }
      done += outcomes.size();
    }
    if (stop || row >= changes.size() || IsWhole(changes[row])) continue;
    // A stop is heard only once both steps are done: the file never rests at its
    // temporary name.
    if (row + 1 < changes.size() && changes[row].step == ChangeStep::kToTemporary &&
        changes[row + 1].step == ChangeStep::kFromTemporary) {
      RenameInTwoSteps(changes[row], changes[row + 1], file_system);
      row += 2;
      done += 2;
      stop = keep_going && !keep_going(done);
    } else {
      // A step without its other half is never taken.
      SetOutcome(changes[row], ChangeReason::kRenameRefused);
      ++row;
    }
  }
}

void FollowRenamedFiles(RenameList& list, std::vector<RowChange>& changes) {
  // Collected first: the old paths are views into the entries about to change.
  std::vector<std::pair<int, std::string>> moved;
  for (const RowChange& change : changes) {
    if (change.step == ChangeStep::kToTemporary || change.step == ChangeStep::kBack) continue;
    if (change.status == ChangeStatus::kDone) {
      moved.emplace_back(change.row, std::string(change.new_path()));
    }
  }
  changes.clear();
  for (auto& [row, path] : moved) list.RenamePath(row, std::move(path));
}

std::string FailureReport(const std::vector<RowChange>& changes) {
  std::vector<std::string> lines;
  std::size_t failures = 0;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const RowChange& change = changes[i];
    if (change.status != ChangeStatus::kFailed) continue;
    // A change of two steps is one file of the list, named by its old path.
    std::string_view shown = change.old_path();
    if (change.step == ChangeStep::kFromTemporary && i > 0) {
      if (changes[i - 1].status == ChangeStatus::kFailed) continue;
      shown = changes[i - 1].old_path();
    }
    if (lines.size() < kReportedFailures) lines.push_back(DisplayPath(shown));
    ++failures;
  }
  return FailureList(kFailureHead, lines, failures);
}

}  // namespace zefa
