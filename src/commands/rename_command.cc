// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/rename_command.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/common_names_command.h"
#include "commands/run_command.h"
#include "platform/command_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "record/restore_file.h"
#include "run/change_pipeline.h"
#include "settings/options.h"
#include "settings/settings_file.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kConfirmText = "本当に実行しますか？";
constexpr const char* kNameTooLongText =
    "次のファイルの新しい名前が長すぎます。実行を中止します。\n\r";
constexpr const char* kDoneText = "完了しました。";
constexpr const char* kProgressText = "リネームしています";

void ShowError(Prompter& prompter, const std::string& text) {
  prompter.Beep(BeepKind::kError);
  prompter.Error(text);
}

// A stopped run says how far it came: the files of the list, and those that have moved.
// A change of case takes two steps, and counts once, at its second.
std::string StoppedText(const RenameList& list, const std::vector<RowChange>& changes) {
  std::size_t renamed = 0;
  for (const RowChange& change : changes) {
    renamed += change.status == ChangeStatus::kDone && change.step != ChangeStep::kToTemporary;
  }
  return "リネームを中止しました。\n\r" + std::to_string(RowCount(list)) + " 個のファイルのうち " +
         std::to_string(renamed) + " 個をリネームしました。";
}

}  // namespace

RunOutcome RenameRun(const RenameList& list, const std::string& common_name, int start_number,
                     const NameSettings& name_settings, const Context& context) {
  Prompter& prompter = context.prompter;
  RunOutcome outcome;

  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Confirm(kConfirmText)) return outcome;

  const std::optional<CommonNames> common_names = CommonNamesOf(list, common_name, context);
  if (!common_names) return outcome;
  const RenameRequest request{common_name, start_number, name_settings, &*common_names};
  // The files' identities are read on a second thread while the run is planned and checked:
  // the restore file takes them when it is written soon after.
  std::optional<IdentitiesReadAhead> read_ahead(std::in_place, context.file_system,
                                                list.path.entries);
  ChangePlan& plan = outcome.plan;
  plan = PlanChanges(list, request, context.file_system, context.rules, PlanDepth::kChecked);
  if (const std::optional<std::string> stop =
          RunStopMessage(plan, list, request.common_name, context.rules)) {
    ShowError(prompter, *stop);
    return outcome;
  }
  // A name the file system would refuse for its length stops the run as the preview warns.
  if (const int row = FirstNameTooLong(plan.changes, context.file_system, context.rules);
      row >= 0) {
    ShowError(prompter, kNameTooLongText + DisplayPath(list.path.entries[row]));
    return outcome;
  }
  // A change of case alone, where names ignore case, goes through a temporary name.
  RouteThroughTemporaryNames(plan, context.file_system, context.rules);

  // Who chose a restore file for every run is not asked, and hears how to undo at the end.
  const bool always_restore = ReadOption(context.Settings(), &Options::restore_always);
  bool with_restore = always_restore;
  if (!always_restore) {
    prompter.Beep(BeepKind::kWarning);
    with_restore = prompter.Warn(kRestoreQuestion);
  }
  std::string& restore_path = outcome.restore_path;
  if (with_restore) {
    if (!always_restore) prompter.Inform(kRestoreNotice);
    // The whole record is on the disk before the first file is touched; a refused write
    // ends the run here, with nothing renamed.
    restore_path = WriteRestoreFile(context.file_system, context.paths.restore_folder,
                                    context.rules, plan.changes, &*read_ahead);
  }

  read_ahead.reset();  // its room is the run's now
  {
    const std::unique_ptr<Progress> progress =
        prompter.StartProgress(kProgressText, RenamesOf(plan.changes));
    // A stop asked for in the progress window ends the run after the current rename.
    ExecuteChanges(plan.changes, context.file_system,
                   [&](std::size_t done) { return progress->Advance(done); });
  }
  outcome.reached_loop = true;
  // Changes the run did not reach: it was stopped.
  const bool stopped = outcome.stopped =
      std::any_of(plan.changes.begin(), plan.changes.end(),
                  [](const RowChange& change) { return change.status == ChangeStatus::kPlanned; });
  // The rows that did not move, so that the undo never looks for them.
  if (!restore_path.empty()) AppendRunOutcome(context.file_system, restore_path, plan.changes);

  std::string summary = stopped ? StoppedText(list, plan.changes) : kDoneText;
  if (always_restore) summary += std::string(kLineBreak) + kRestoreNotice;
  const std::string report = FailureReport(plan.changes);

  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(summary);
  if (!report.empty()) prompter.Inform(report);
  return outcome;
}

void Button2Click(MainState& state, const Context& context) {
  RunCommand(context.prompter, [&] {
    RunOutcome outcome = RenameRun(state.list, state.common_name, state.start_number,
                                   ReadNameSettings(context.Settings()), context);
    // The rows whose files were renamed name their new paths, so that a second pass finds them.
    FollowRenamedFiles(state.list, outcome.plan.changes);
  });
}

void RenameWithNamesAlone(MainState& state, const Context& context) {
  RunCommand(context.prompter, [&] {
    // Each row's unique name and extension alone: the pattern without number, no common
    // name; the settings file is left as it is.
    NameSettings settings = ReadNameSettings(context.Settings());
    settings.pattern = NamePattern::kUniqueCommon;
    settings.folder_numbers = false;
    RunOutcome outcome = RenameRun(state.list, {}, state.start_number, settings, context);
    FollowRenamedFiles(state.list, outcome.plan.changes);
  });
}

}  // namespace zefa
