// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/run_simulation.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/file_system.h"
#include "run/case_only_rename.h"
#include "run/run_checks.h"
#include "text/flat_index.h"

namespace zefa {
namespace {

// What stands at one path of the plan while the run is played through.
struct Place {
  bool taken = false;
  bool moved_in = false;  // a row's file was renamed to it during the run
  int row = -1;           // the row whose file is there (the mover when moved_in); -1: none listed
};

// The longest name of each folder, asked once per folder; rows of one folder usually
// follow each other, so most rows need no look-up at all.
class NameLimits {
 public:
  explicit NameLimits(FileSystem& file_system) : file_system_(file_system) {}

  std::size_t Of(std::string_view folder) {
    if (has_last_ && folder == last_folder_) return last_limit_;
    auto at = limits_.find(folder);
    if (at == limits_.end()) {
      at = limits_.emplace(folder, file_system_.LongestName(std::string(folder))).first;
    }
    has_last_ = true;
    last_folder_ = folder;
    last_limit_ = at->second;
    return last_limit_;
  }

 private:
  FileSystem& file_system_;
  std::unordered_map<std::string_view, std::size_t> limits_;
  bool has_last_ = false;
  std::string_view last_folder_;
  std::size_t last_limit_ = 0;
};

// Whether the row's new name is longer than its folder takes, or a path of the row longer
// than a record holds; the rows that keep their names, and names no file can have, are
// judged elsewhere.
bool IsNameTooLong(const RowChange& change, NameLimits& limits, const TextRules& rules) {
  if (change.old_path().size() > kMaxRecordedPathBytes ||
      change.new_path().size() > kMaxRecordedPathBytes) {
    return true;
  }
  return FileNamePart(change.new_path(), rules).size() >
         limits.Of(FolderPart(change.new_path(), rules));
}

}  // namespace

int FirstNameTooLong(const std::vector<RowChange>& changes, FileSystem& file_system,
                     const TextRules& rules) {
  NameLimits limits(file_system);
  for (std::size_t row = 0; row < changes.size(); ++row) {
    const RowChange& change = changes[row];
    if (change.new_path() == change.old_path() ||
        IsRefusedName(change.new_path(), FileNamePart(change.new_path(), rules))) {
      continue;
    }
    if (IsNameTooLong(change, limits, rules)) return static_cast<int>(row);
  }
  return -1;
}

void PlayThrough(ChangePlan& plan, FileSystem& file_system, const TextRules& rules) {
  std::vector<RowChange>& changes = plan.changes;
  // Every path of the plan gets one place; the old paths hold their rows' files.
  // Places are numbered in 32 bits, which hold twice the rows of a list.
  std::vector<Place> places;
  places.reserve(2 * changes.size());
  // Each place knows its path through the row and side it was first seen on: 2 × row, + 1
  // for the new path.
  std::vector<std::uint32_t> place_keys;
  place_keys.reserve(2 * changes.size());
  FlatIndex index(2 * changes.size(), [&](std::size_t place) {
    const std::uint32_t key = place_keys[place];
    const RowChange& change = changes[key / 2];
    return key % 2 == 1 ? change.new_path() : change.old_path();
  });
  // The place of a row's old or new path, numbered as first seen; whether it is new.
  const auto emplace = [&](std::size_t row, bool new_side) {
    const std::size_t place = place_keys.size();
    place_keys.push_back(static_cast<std::uint32_t>(2 * row + (new_side ? 1 : 0)));
    const std::size_t found = index.Insert(place);
    if (found != place) place_keys.pop_back();
    return std::pair{static_cast<std::uint32_t>(found), found == place};
  };
  std::vector<std::uint32_t> old_place(changes.size());
  std::vector<std::uint32_t> new_place(changes.size());
  for (std::size_t row = 0; row < changes.size(); ++row) {
    const auto [place, added] = emplace(row, false);
    if (added) places.push_back({true, false, static_cast<int>(row)});
    old_place[row] = place;
  }
  // A listed file that is gone leaves its path free, or held by whatever stands there now.
  for (std::size_t row = 0; row < changes.size(); ++row) {
    const ChangeReason reason = changes[row].reason;
    if (IsFileGone(reason)) places[old_place[row]] = {reason == ChangeReason::kNotAFile, false, -1};
  }
  // The new paths that are no listed file's are asked of the file system, all at once.
  std::vector<std::string_view> unknown;
  std::vector<std::uint32_t> unknown_place;
  for (std::size_t row = 0; row < changes.size(); ++row) {
    const auto [place, added] = emplace(row, true);
    if (added) {
      places.push_back({});
      unknown.push_back(changes[row].new_path());
      unknown_place.push_back(place);
    }
    new_place[row] = place;
  }
  const std::vector<bool> taken = file_system.PathsTaken(unknown);
  for (std::size_t i = 0; i < unknown.size() && i < taken.size(); ++i) {
    places[unknown_place[i]].taken = taken[i];
  }
  // A new name that only changes the case of the row's own file's name, where names
  // ignore case, holds that very file: the run goes through a temporary name.
  const std::vector<bool> case_only = FindCaseOnlyRenames(changes, file_system, rules);
  for (std::size_t row = 0; row < changes.size(); ++row) {
    if (case_only[row] && places[new_place[row]].row < 0) places[new_place[row]].taken = false;
  }

  NameLimits limits(file_system);
  const auto fail = [&](RowChange& change, ChangeReason reason, int other_row = -1) {
    MarkChange(change, ChangeStatus::kWillFail, reason);
    change.other_row = other_row;
    ++plan.failing;
  };
  for (std::size_t row = 0; row < changes.size(); ++row) {
    RowChange& change = changes[row];
    if (change.status == ChangeStatus::kRefused) continue;
    // The run leaves a row alone whose new path is its old one: it counts as done.
    if (change.new_path() == change.old_path()) continue;
    const std::string_view name = FileNamePart(change.new_path(), rules);
    if (IsRefusedName(change.new_path(), name)) {
      fail(change, ChangeReason::kNameRefused);
      continue;
    }
    if (IsNameTooLong(change, limits, rules)) {
      fail(change, ChangeReason::kNameTooLong);
      continue;
    }
    Place& from = places[old_place[row]];
    Place& to = places[new_place[row]];
    if (!from.taken) {
      fail(change, ChangeReason::kSourceGone, from.row);
      continue;
    }
    if (to.taken) {
      if (to.moved_in) {
        fail(change, ChangeReason::kSameNewPath, to.row);
      } else if (to.row >= 0) {
        fail(change, ChangeReason::kHeldByListedFile, to.row);
      } else {
        fail(change, ChangeReason::kNameTaken);
      }
      continue;
    }
    from = {false, false, static_cast<int>(row)};  // row: who moved the file away
    to = {true, true, static_cast<int>(row)};
  }
}

}  // namespace zefa
