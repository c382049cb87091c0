// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "rename/undo_run.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/command_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "rename/rename_plan.h"
#include "rename/restore_file.h"

namespace zefa {
namespace {

constexpr const char* kUndoQuestion =
    "元に戻しますか？\n\rこのファイルには以下のファイルが含まれます。\n\r";
constexpr const char* kInvalidText = "このファイルは無効です。以下のファイルが見つかりません\n\r";
constexpr const char* kDoneText = "完了しました";

// The recorded rows, read once: every look-up of the record happens here.
struct RecordedRows {
  std::vector<std::string> before;
  std::vector<std::string> after;
  int count = 0;
};

RecordedRows RowsOf(const RestoreRecord& record) {
  RecordedRows rows;
  rows.count = record.Count();
  // A row without its new path ends the record's valid part, so a forged count costs nothing.
  for (int row = 0; row < rows.count; ++row) {
    const std::string_view after = record.After(row);
    if (after.empty()) break;
    rows.after.emplace_back(after);
    rows.before.emplace_back(record.Before(row));
  }
  return rows;
}

// The first recorded new path that no longer exists, in row order; "" when the record
// holds no rows; nullopt when every one exists.
std::optional<std::string> FirstMissingAfter(const RecordedRows& rows, FileSystem& file_system) {
  if (rows.count <= 0) return std::string();
  const std::vector<bool> exist = file_system.FilesExist(rows.after);
  for (std::size_t row = 0; row < exist.size(); ++row) {
    if (!exist[row]) return rows.after[row];
  }
  if (rows.after.size() < static_cast<std::size_t>(rows.count)) return std::string();
  return std::nullopt;
}

void RenameBack(const RecordedRows& rows, const Context& context) {
  std::vector<RenamePair> pairs;
  pairs.reserve(rows.after.size());
  for (std::size_t row = 0; row < rows.after.size(); ++row) {
    const std::string& before = rows.before[row];
    const std::string& after = rows.after[row];
    // A run never moves a file to another folder, so neither does its undo.
    if (before == after || FolderOf(before, context.rules) != FolderOf(after, context.rules)) {
      continue;
    }
    pairs.push_back({&after, &before});
  }
  context.file_system.RenameEachNoReplace(pairs);  // a refusal is skipped
}

}  // namespace

void UndoRun(const Context& context) {
  Prompter& prompter = context.prompter;
  const std::optional<std::string> chosen =
      prompter.ChooseFile(FileChoice{context.paths.restore_folder, kRestoreFilter});
  if (!chosen) return;
  const RestoreRecord record = RestoreRecord::Read(context.file_system, *chosen);

  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Warn(kUndoQuestion + std::string(record.After(0)))) return;

  const RecordedRows rows = RowsOf(record);
  if (const auto missing = FirstMissingAfter(rows, context.file_system)) {
    prompter.Beep(BeepKind::kError);
    prompter.Error(kInvalidText + *missing);
  } else {
    RenameBack(rows, context);
  }
  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(kDoneText);
}

void Undo1Click(MainState& /*state*/, const Context& context) {
  RunCommand(context.prompter, [&] { UndoRun(context); });
}

}  // namespace zefa
