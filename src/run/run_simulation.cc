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

}  // namespace

std::vector<PredictedRow> SimulateRun(const std::vector<PlannedRename>& plan,
                                      const std::vector<RowCheck>& checks,
                                      FileSystem& file_system, const TextRules& rules) {
  // Every path of the plan gets one place; the old paths hold their rows' files.
  // Places are numbered in 32 bits, which hold twice the rows of a list.
  std::vector<Place> places;
  places.reserve(2 * plan.size());
  // Each place knows its path through the row and side it was first seen on: 2 × row, + 1
  // for the new path.
  std::vector<std::uint32_t> place_keys;
  place_keys.reserve(2 * plan.size());
  FlatIndex index(2 * plan.size(), [&](std::size_t place) {
    const std::uint32_t key = place_keys[place];
    const PlannedRename& rename = plan[key / 2];
    return key % 2 == 1 ? std::string_view(rename.new_path) : rename.old_path;
  });
  // The place of a row's old or new path, numbered as first seen; whether it is new.
  const auto emplace = [&](std::size_t row, bool new_side) {
    const std::size_t place = place_keys.size();
    place_keys.push_back(static_cast<std::uint32_t>(2 * row + (new_side ? 1 : 0)));
    const std::size_t found = index.Insert(place);
    if (found != place) place_keys.pop_back();
    return std::pair{static_cast<std::uint32_t>(found), found == place};
  };
  std::vector<std::uint32_t> old_place(plan.size());
  std::vector<std::uint32_t> new_place(plan.size());
  for (std::size_t row = 0; row < plan.size(); ++row) {
    const auto [place, added] = emplace(row, false);
    if (added) places.push_back({true, false, static_cast<int>(row)});
    old_place[row] = place;
  }
  // A listed file that is gone leaves its path free, or held by whatever stands there now.
  for (std::size_t row = 0; row < plan.size() && row < checks.size(); ++row) {
    const Refusal refusal = checks[row].refusal;
    if (IsFileGone(refusal)) places[old_place[row]] = {refusal == Refusal::kNotAFile, false, -1};
  }
  // The new paths that are no listed file's are asked of the file system, all at once.
  std::vector<std::string_view> unknown;
  std::vector<std::uint32_t> unknown_place;
  for (std::size_t row = 0; row < plan.size(); ++row) {
    const auto [place, added] = emplace(row, true);
    if (added) {
      places.push_back({});
      unknown.push_back(plan[row].new_path);
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
  const std::vector<bool> case_only = FindCaseOnlyRenames(plan, file_system, rules);
  for (std::size_t row = 0; row < plan.size(); ++row) {
    if (case_only[row] && places[new_place[row]].row < 0) places[new_place[row]].taken = false;
  }

  std::vector<PredictedRow> predicted(plan.size());
  NameLimits limits(file_system);
  for (std::size_t row = 0; row < plan.size(); ++row) {
    const PlannedRename& rename = plan[row];
    PredictedRow& outcome = predicted[row];
    if (row < checks.size() && checks[row].refusal != Refusal::kNone) {
      outcome.reason = FailureReason::kRefused;
      outcome.check = checks[row];
      continue;
    }
    // The run leaves a row alone whose new path is its old one: it counts as done.
    if (rename.new_path == rename.old_path) continue;
    const std::string_view name = FileNamePart(rename.new_path, rules);
    if (IsRefusedName(rename.new_path, name)) {
      outcome.reason = FailureReason::kNameRefused;
      continue;
    }
    if (name.size() > limits.Of(FolderPart(rename.new_path, rules))) {
      outcome.reason = FailureReason::kNameTooLong;
      continue;
    }
    Place& from = places[old_place[row]];
    Place& to = places[new_place[row]];
    if (!from.taken) {
      outcome = {FailureReason::kSourceGone, from.row, {}};
      continue;
    }
    if (to.taken) {
      if (to.moved_in) {
        outcome = {FailureReason::kSameNewPath, to.row, {}};
      } else if (to.row >= 0) {
        outcome = {FailureReason::kHeldByListedFile, to.row, {}};
      } else {
        outcome.reason = FailureReason::kNameTaken;
      }
      continue;
    }
    from = {false, false, static_cast<int>(row)};  // row: who moved the file away
    to = {true, true, static_cast<int>(row)};
  }
  return predicted;
}

int CountFailures(const std::vector<PredictedRow>& rows) {
  int failures = 0;
  for (const PredictedRow& row : rows) failures += row.reason != FailureReason::kNone ? 1 : 0;
  return failures;
}

std::string FailureText(const PredictedRow& row) {
  const std::string other = std::to_string(row.other_row + 1);
  switch (row.reason) {
    case FailureReason::kNone:
      break;
    case FailureReason::kNameTaken:
      return "同名のファイルがあります";
    case FailureReason::kHeldByListedFile:
      return other + " 行目のファイルがまだこの名前を使っています";
    case FailureReason::kSameNewPath:
      return other + " 行目と同じ名前になります";
    case FailureReason::kNameTooLong:
      return "名前が長すぎます";
    case FailureReason::kNameRefused:
      return "この名前は付けられません";
    case FailureReason::kSourceGone:
      return "このファイルは " + other + " 行目ですでにリネームされます";
    case FailureReason::kRefused:
      return RefusalText(row.check);
  }
  return {};
}

}  // namespace zefa
