// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "rename/undo_run.h"

#include <optional>
#include <string>

#include "platform/command_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "rename/restore_file.h"

namespace zefa {
namespace {

constexpr const char* kUndoQuestion =
    "元に戻しますか？\n\rこのファイルには以下のファイルが含まれます。\n\r";
constexpr const char* kInvalidText = "このファイルは無効です。以下のファイルが見つかりません\n\r";
constexpr const char* kDoneText = "完了しました";

// The first recorded new path that no longer exists; "" when the record holds no rows.
std::optional<std::string> FirstMissingAfter(const RestoreRecord& record,
                                             FileSystem& file_system) {
  const int count = record.Count();
  if (count <= 0) return std::string();
  for (int row = 0; row < count; ++row) {
    const std::string after(record.After(row));
    if (!file_system.FileExists(after)) return after;
  }
  return std::nullopt;
}

void RenameBack(const RestoreRecord& record, const Context& context) {
  const int count = record.Count();
  for (int row = 0; row < count; ++row) {
    const std::string before(record.Before(row));
    const std::string after(record.After(row));
    // A run never moves a file to another folder, so neither does its undo.
    if (before == after || FolderPart(before, context.rules) != FolderPart(after, context.rules)) {
      continue;
    }
    context.file_system.RenameNoReplace(after, before);  // a refusal is skipped
  }
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

  if (const auto missing = FirstMissingAfter(record, context.file_system)) {
    prompter.Beep(BeepKind::kError);
    prompter.Error(kInvalidText + *missing);
  } else {
    RenameBack(record, context);
  }
  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(kDoneText);
}

void Undo1Click(MainState& /*state*/, const Context& context) {
  RunCommand(context.prompter, [&] { UndoRun(context); });
}

}  // namespace zefa
