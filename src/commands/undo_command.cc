// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/undo_command.h"

#include <optional>
#include <string>
#include <vector>

#include "commands/run_command.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renaming/restore_file.h"
#include "renaming/undo.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kUndoQuestion =
    "元に戻しますか？\n\rこのファイルには以下のファイルが含まれます。\n\r";
constexpr const char* kInvalidText = "このファイルは無効です。以下のファイルが見つかりません\n\r";
constexpr const char* kDoneText = "完了しました";

}  // namespace

void UndoRun(const Context& context) {
  Prompter& prompter = context.prompter;
  const std::optional<std::string> chosen =
      prompter.ChooseFile(FileChoice{context.paths.restore_folder, kRestoreFilter});
  if (!chosen) return;
  const RestoreRecord record = RestoreRecord::Read(context.file_system, *chosen);

  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Warn(kUndoQuestion + DisplayPath(record.After(0)))) return;

  const RecordedRows rows = ReadRecordedRows(record);
  if (const auto missing = FirstMissingAfter(rows, context.file_system)) {
    prompter.Beep(BeepKind::kError);
    prompter.Error(kInvalidText + DisplayPath(*missing));
  } else {
    RenameBack(rows, context.file_system, context.rules);
  }
  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(kDoneText);
}

void Undo1Click(MainState& /*state*/, const Context& context) {
  RunCommand(context.prompter, [&] { UndoRun(context); });
}

}  // namespace zefa
