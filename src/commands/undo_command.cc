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
#include "record/restore_file.h"
#include "record/run_history.h"
#include "record/undo.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kUndoQuestion =
    "元に戻しますか？\n\rこのファイルには以下のファイルが含まれます。\n\r";
constexpr const char* kInvalidText = "このファイルは無効です。以下のファイルが見つかりません\n\r";
constexpr const char* kDoneText = "完了しました";
constexpr const char* kNoRowsText = "元に戻すファイルが記録されていません";
constexpr const char* kCutShortText = "記録が途中で切れています";
constexpr const char* kProgressText = "元に戻しています";

// The path the invalid-file box names: the first recorded new path that is missing or,
// when the record names none (it could not be read, or holds no rows), the restore file
// itself with why.
std::string InvalidPathText(const std::string& missing, const std::string& restore_path,
                            const RestoreRecord& record) {
  if (!missing.empty()) return DisplayPath(missing);
  std::string reason = record.size() == 0 ? kNoRowsText : kCutShortText;
  if (const std::optional<ReadFailure> failure = record.ReadFailure()) {
    reason = ReadFailureText(*failure);
  }
  return DisplayPath(restore_path) + (reason.empty() ? "" : "（" + reason + "）");
}

// A record without identities (an older run's, a Windows copy's) is undone by names alone.
constexpr const char* kByNamesText =
    "\n\r\n\rこのリストアファイルにはファイルの識別情報が記録されていないため、"
    "ファイルを名前だけで元に戻します。";
// Files of a disk that came back as another device are known by their size and times.
constexpr const char* kByTimesText = "\n\r\n\rこのうち ";
constexpr const char* kByTimesTail =
    " 個のファイルは、ディスクが別の装置として接続し直されているため、"
    "サイズと更新日時で同じファイルと確かめました。";

}  // namespace

void UndoRun(RenameList& list, const Context& context) {
  FileChoice choice;
  choice.initial_folder = context.paths.restore_folder;
  choice.filter = kRestoreFilter;
  choice.select_newest = true;
  // A record undone already is no longer the one to offer.
  choice.preselected =
      NewestNotUndone(context.file_system, context.paths.restore_folder, context.rules);
  const std::optional<std::string> chosen = context.prompter.ChooseFile(choice);
  if (!chosen) return;
  UndoRecord(context, *chosen, &list);
}

std::string UndoQuestion(const RestoreRecord& record, const UndoPlan& plan) {
  std::string question = kUndoQuestion + DisplayPath(record.FirstNewPath()) + "\n\r（全 " +
                         std::to_string(record.size()) + " 個のファイル）";
  if (!record.HasIdentities() && !plan.invalid) question += kByNamesText;
  if (plan.matched_by_times > 0) {
    question += kByTimesText + std::to_string(plan.matched_by_times) + kByTimesTail;
  }
  return question;
}

UndoOutcome UndoRecord(const Context& context, const std::string& path, RenameList* list) {
  Prompter& prompter = context.prompter;
  UndoOutcome outcome;
  outcome.record = RestoreRecord::Read(context.file_system, path);
  const RestoreRecord& record = outcome.record;
  // The files are looked at before the question, so that it can say how they were known.
  // The progress window is gone before any box is shown.
  UndoPlan& plan = outcome.plan;
  {
    const std::unique_ptr<Progress> progress = prompter.StartProgress(kProgressText, record.size());
    plan = PlanUndo(record, context.file_system, context.rules,
                    [&](std::size_t done) { return progress->Advance(done); });
  }
  // The identities have decided the undo: their room goes back before the files are moved.
  outcome.record.ForgetIdentities();
  for (RowChange& change : plan.back) change.set_identity({});
  for (RowChange& change : plan.not_back) change.set_identity({});
  if (plan.stopped) {
    prompter.Beep(BeepKind::kInformation);
    prompter.Inform(UndoStoppedText(plan.looked_at, 0));
    return outcome;
  }
  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Warn(UndoQuestion(record, plan))) return outcome;
  outcome.confirmed = true;
  UndoResult& result = outcome.result;
  // The list's rows of the files are found while the files go back.
  std::optional<RowsToFollow> rows_to_follow;
  if (list != nullptr && !plan.invalid) rows_to_follow.emplace(*list, plan.back);
  if (!plan.invalid) {
    const std::unique_ptr<Progress> progress =
        prompter.StartProgress(kProgressText, plan.back.size());
    result = RenameBack(plan, context.file_system,
                        [&](std::size_t done) { return progress->Advance(done); });
  }
  // The rows whose files came back name their old paths again.
  if (rows_to_follow) rows_to_follow->Follow(*list, plan.back);
  if (plan.invalid) {
    // Nothing was renamed: no completion message follows.
    prompter.Beep(BeepKind::kError);
    prompter.Error(kInvalidText + InvalidPathText(*plan.invalid, path, record));
    return outcome;
  }
  // The record knows what came back before anyone is told: the history reads it so.
  AppendUndoneRows(context.file_system, path, RowsBackAfterUndo(record, plan, context.rules));
  prompter.Beep(BeepKind::kInformation);
  if (result.stopped) {
    prompter.Inform(UndoStoppedText(plan.back.size(), result.done));
  } else {
    prompter.Inform(kDoneText);
  }
  // The rows left under their new names are named, so that "done" is not taken for "all back".
  outcome.not_back = plan.not_back;
  for (const RowChange& change : plan.back) {
    if (change.status == ChangeStatus::kFailed) outcome.not_back.push_back(change);
  }
  const std::string report = UndoFailureReport(outcome.not_back);
  if (!report.empty()) prompter.Inform(report);
  return outcome;
}

void Undo1Click(MainState& state, const Context& context) {
  RunCommand(context.prompter, [&] { UndoRun(state.list, context); });
}

}  // namespace zefa
