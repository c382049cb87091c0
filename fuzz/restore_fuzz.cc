// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Restore records on arbitrary bytes: nothing may crash; the record holds what the profile
// reader finds, read whole or a piece at a time; the rows read are written and read back
// unchanged; and the undo of the record, on files held in memory, renames only rows it
// may, never over a file.
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/file_system.h"
#include "run/rename_plan.h"
#include "record/restore_file.h"
#include "record/undo.h"
#include "settings/profile.h"
#include "text/text_rules.h"

namespace {

using zefa::fuzz::Check;

// Files held in memory.
class MemoryFileSystem : public zefa::FileSystem {
 public:
  std::set<std::string> files;
  std::string record;      // the bytes of every file read
  std::size_t piece = 1;  // how many bytes of it a piece holds

  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool FolderExists(const std::string&) override { return false; }
  bool CreateFolders(const std::string&) override { return false; }
  std::optional<std::string> FileKey(const std::string& path) override {
    if (!FileExists(path)) return std::nullopt;
    return path;
  }
  // A recorded key names the file there unless its length is a multiple of three.
  std::vector<zefa::FileMatch> MatchFiles(const std::vector<zefa::KeyedPath>& wanted,
                                          const zefa::KeepGoing&) override {
    std::vector<zefa::FileMatch> matches;
    for (const zefa::KeyedPath& one : wanted) {
      matches.push_back(!FileExists(std::string(one.path)) ? zefa::FileMatch::kNothing
                        : one.key.size() % 3 != 0          ? zefa::FileMatch::kSameFile
                                                           : zefa::FileMatch::kOtherFile);
    }
    return matches;
  }
  zefa::ChangeReason RenameNoReplace(const std::string& from, const std::string& to) override {
    if (files.count(to) != 0) return zefa::ChangeReason::kTargetExists;
    if (files.erase(from) == 0) return zefa::ChangeReason::kSourceMissing;
    files.insert(to);
    return zefa::ChangeReason::kNone;
  }
  zefa::FileRead ReadFile(const std::string&, std::size_t) override { return record; }
  std::optional<zefa::ReadFailure> ReadFileInPieces(const std::string&, std::size_t,
                                                    const zefa::PieceReader& reader) override {
    reader.sized(record.size());
    for (std::size_t at = 0; at < record.size(); at += piece) {
      if (!reader.piece(std::string_view(record).substr(at, piece))) break;
    }
    return std::nullopt;
  }
  bool WriteFile(const std::string&, std::string_view, zefa::WriteMode) override { return false; }
  std::string ExecutablePath() override { return "/fuzz/zefa-oru"; }
  zefa::LocalTime Now() override { return {}; }
};

std::string Found(const zefa::Profile& profile, const char* section, std::size_t row) {
  return std::string(profile.Find(section, std::to_string(row)).value_or(""));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const zefa::RestoreRecord record = zefa::RestoreRecord::Parse(bytes);

  // What the profile reader finds, row by row; a file with a line no run writes is empty.
  if (record.Count() != 0 || record.size() != 0) {
    const zefa::Profile profile = zefa::Profile::Parse(bytes);
    Check(record.Count() ==
              zefa::ParseProfileInteger(profile.Find("Count", "count").value_or("")).value_or(0),
          "the count is the profile's");
    Check(record.size() <= static_cast<std::size_t>(std::max(0, record.Count())),
          "no more rows than counted");
    Check(record.FirstNewPath() == zefa::DecodeRecordedPath(Found(profile, "after", 0)),
          "the first new path is the profile's");
    for (std::size_t row = 0; row < record.size(); ++row) {
      const zefa::RestoreRow read = record.Row(row);
      Check(read.before == zefa::DecodeRecordedPath(Found(profile, "before", row)), "before");
      Check(read.after == zefa::DecodeRecordedPath(Found(profile, "after", row)), "after");
      Check(!read.after.empty(), "every row read has a new path");
      Check(read.identity == Found(profile, "identity", row), "identity");
    }
  }

  // Read from a file a piece at a time, the record is the same.
  {
    MemoryFileSystem file;
    file.record = bytes;
    file.piece = 1 + (size == 0 ? 0 : data[size - 1] % 17);
    const zefa::RestoreRecord read = zefa::RestoreRecord::Read(file, "/fuzz/record.zefa");
    Check(read.Count() == record.Count() && read.size() == record.size() &&
              read.HasIdentities() == record.HasIdentities() &&
              read.Overlong() == record.Overlong() && read.FirstNewPath() == record.FirstNewPath(),
          "read in pieces as whole");
    for (std::size_t row = 0; row < read.size(); ++row) {
      const zefa::RestoreRow a = read.Row(row);
      const zefa::RestoreRow b = record.Row(row);
      Check(a.before == b.before && a.after == b.after && a.identity == b.identity &&
                a.not_renamed == b.not_renamed,
            "a row read in pieces as whole");
    }
  }

  // The rows read, written as a run writes them, read back unchanged.
  std::vector<std::string> old_paths(record.size());
  std::vector<std::string> new_paths(record.size());
  std::vector<zefa::RowChange> plan(record.size());
  for (std::size_t row = 0; row < record.size(); ++row) {
    old_paths[row] = std::string(record.Row(row).before);
    new_paths[row] = std::string(record.Row(row).after);
    plan[row].set_old_path(old_paths[row]);
    plan[row].set_new_path(new_paths[row]);
  }
  const zefa::RestoreRecord reread = zefa::RestoreRecord::Parse(zefa::RestoreFileBytes(plan));
  Check(reread.size() == plan.size() || reread.Overlong(), "every row is read back");
  for (std::size_t row = 0; row < reread.size(); ++row) {
    Check(reread.Row(row).before == plan[row].old_path(), "old path round trip");
    Check(reread.Row(row).after == plan[row].new_path(), "new path round trip");
  }

  // The undo on files in memory: every other recorded new path holds a file.
  MemoryFileSystem file_system;
  for (std::size_t row = 0; row < record.size(); row += 2) {
    file_system.files.insert(std::string(record.Row(row).after));
  }
  const zefa::TextRules rules;
  zefa::UndoPlan undo = zefa::PlanUndo(record, file_system, rules);
  std::set<std::size_t> seen;
  for (const zefa::RowChange& change : undo.back) {
    const auto row = static_cast<std::size_t>(change.row);
    Check(row < record.size() && seen.insert(row).second, "each row goes back once");
    const zefa::RestoreRow read = record.Row(row);
    Check(zefa::IsRowOfARun(read.before, read.after, rules) && read.before != read.after,
          "only rows a run could have made go back");
  }
  Check(!undo.invalid || undo.back.empty(), "an invalid record renames nothing");
  const std::size_t files = file_system.files.size();
  const zefa::UndoResult result = zefa::RenameBack(undo, file_system);
  Check(file_system.files.size() == files, "no file is lost or made");
  std::vector<zefa::RowChange> not_back = undo.not_back;
  for (const zefa::RowChange& change : undo.back) {
    if (change.status == zefa::ChangeStatus::kFailed) not_back.push_back(change);
  }
  Check(result.done + not_back.size() - undo.not_back.size() == undo.back.size(),
        "every rename is accounted");
  const std::string report = zefa::UndoFailureReport(not_back);
  Check(report.empty() == not_back.empty(), "the report names what stayed");
  return 0;
}
