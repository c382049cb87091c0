// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/undo_command.h"

#include <memory>
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
constexpr const char* kProgressText = "元に戻しています";

}  // namespace

void UndoRun(const Context& context) {
  Prompter& prompter = context.prompter;
  const std::optional<std::string> chosen =
      prompter.ChooseFile(FileChoice{context.paths.restore_folder, kRestoreFilter, true});
  if (!chosen) return;
  RecordedRows rows;
  {
    // The file's bytes are let go once its rows are read.
    const RestoreRecord record = RestoreRecord::Read(context.file_system, *chosen);
    prompter.Beep(BeepKind::kWarning);
    if (!prompter.Warn(kUndoQuestion + DisplayPath(record.After(0)))) return;
    rows = ReadRecordedRows(record);
  }
  std::vector<std::size_t> failed;
  {
    // Each row is looked at, then renamed back: two steps a row on slow storage.
    const std::size_t total = 2 * rows.after.size();
    const std::unique_ptr<Progress> progress = prompter.StartProgress(kProgressText, total);
    const UndoPlan plan = PlanUndo(rows, context.file_system, context.rules,
                                   [&](std::size_t checked) { return progress->Advance(checked); });
    if (plan.invalid) {
      prompter.Beep(BeepKind::kError);
      prompter.Error(kInvalidText + DisplayPath(*plan.invalid));
    } else {
      const std::size_t checked = rows.after.size();
      failed = RenameBack(rows, plan.back, context.file_system,
                          [&](std::size_t done) { return progress->Advance(checked + done); });
    }
  }
  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(kDoneText);
  // The rows left under their new names are named, so that "done" is not taken for "all back".
  const std::string report = UndoFailureReport(rows, failed);
  if (!report.empty()) prompter.Inform(report);
}

void Undo1Click(MainState& /*state*/, const Context& context) {
  RunCommand(context.prompter, [&] { UndoRun(context); });
}

}  // namespace zefa
