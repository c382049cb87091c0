// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/rename_command.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "commands/run_command.h"
#include "names/check_name_chars.h"
#include "platform/command_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "record/restore_file.h"
#include "run/case_only_rename.h"
#include "run/rename_execution.h"
#include "run/run_checks.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "text/name_text.h"

namespace zefa {
namespace {

constexpr const char* kConfirmText = "本当に実行しますか？";
constexpr const char* kMissingFileText = "次のファイルが存在しません。実行を中止します。\n\r";
constexpr const char* kNameMissingText = "ファイル名を入力して下さい\n\r";
constexpr const char* kRestoreQuestion =
    "リストアファイルを作成しますか？\n\r"
    "「いいえ」を選択すると元に戻せません。\n\r"
    "「はい」を選択してもリネームしたファイルを移動したり、"
    "名前の変更を行ったりするともとにもどせなくなります。";
constexpr const char* kRestoreNotice =
    "元に戻すには、[ファイル]メニューから[元に戻す]を選択してください。";
constexpr const char* kDoneText = "完了しました。";
constexpr const char* kProgressText = "リネームしています";

void ShowError(Prompter& prompter, const std::string& text) {
  prompter.Beep(BeepKind::kError);
  prompter.Error(text);
}

// A stopped run says how far it came: the files of the list, and those that have moved.
// A change of case takes two rows of the plan, and counts once, at its second step.
std::string StoppedText(const RenameList& list, const std::vector<PlannedRename>& plan) {
  std::size_t renamed = 0;
  for (const PlannedRename& row : plan) {
    renamed += row.status == RowStatus::kRenamed && row.step != PlannedRename::Step::kToTemporary;
  }
  return "リネームを中止しました。\n\r" + std::to_string(RowCount(list)) + " 個のファイルのうち " +
         std::to_string(renamed) + " 個をリネームしました。";
}

void RenameRun(RenameList& list, const std::string& common_name, int start_number, bool names_alone,
               const Context& context) {
  Prompter& prompter = context.prompter;

  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Confirm(kConfirmText)) return;

  NameSettings name_settings = ReadNameSettings(context.Settings());
  if (names_alone) {
    // Each row's unique name and extension alone: the pattern without number, no common
    // name; the settings file is left as it is.
    name_settings.pattern = NamePattern::kUniqueCommon;
    name_settings.folder_numbers = false;
  }
  const RunChecks checks =
      CheckRun(list, common_name, name_settings, context.file_system, context.rules);
  if (const int row = checks.FirstRow({Refusal::kFileMissing, Refusal::kNotAFile}); row >= 0) {
    ShowError(prompter, kMissingFileText + DisplayPath(list.path.entries[row]));
    return;
  }
  if (const int row = checks.FirstRow({Refusal::kNoUniqueName}); row >= 0) {
    ShowError(prompter, kNameMissingText + DisplayPath(list.path.entries[row]));
    return;
  }
  if (!CheckNameChars(common_name, context.rules.code_page, prompter)) return;
  // The other parts of the names are checked too, so that no new name leaves its folder.
  if (const std::string refused = SeparatorMessage(checks, list); !refused.empty()) {
    ShowError(prompter, refused);
    return;
  }

  std::vector<PlannedRename> plan =
      BuildRenamePlan(list, common_name, start_number, name_settings, context.rules);
  // A change of case alone, where names ignore case, goes through a temporary name.
  RouteThroughTemporaryNames(plan, context.file_system, context.rules);

  // Who chose a restore file for every run is not asked, and hears how to undo at the end.
  const bool always_restore = context.Settings().ReadBool(keys::kSection, keys::kRestoreAlways,
                                                          keys::kDefaultRestoreAlways);
  bool with_restore = always_restore;
  if (!always_restore) {
    prompter.Beep(BeepKind::kWarning);
    with_restore = prompter.Warn(kRestoreQuestion);
  }
  std::string restore_path;
  if (with_restore) {
    if (!always_restore) prompter.Inform(kRestoreNotice);
    // The whole record is on the disk before the first file is touched; a refused write
    // ends the run here, with nothing renamed.
    restore_path =
        WriteRestoreFile(context.file_system, context.paths.restore_folder, context.rules, plan);
  }

  {
    const std::unique_ptr<Progress> progress =
        prompter.StartProgress(kProgressText, RenamesOf(plan));
    // A stop asked for in the progress window ends the run after the current rename.
    ExecuteRenamePlan(plan, context.file_system,
                      [&](std::size_t done) { return progress->Advance(done); });
  }
  // Rows the run did not reach: it was stopped.
  const bool stopped = std::any_of(plan.begin(), plan.end(), [](const PlannedRename& row) {
    return row.status == RowStatus::kPlanned;
  });
  // The rows that did not move, so that the undo never looks for them.
  if (!restore_path.empty()) AppendRunOutcome(context.file_system, restore_path, plan);

  std::string summary = stopped ? StoppedText(list, plan) : kDoneText;
  if (always_restore) summary += std::string("\n\r") + kRestoreNotice;
  const std::string report = FailureReport(plan);
  // The rows whose files were renamed name their new paths, so that a second pass finds them.
  FollowRenamedFiles(list, plan);

  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(summary);
  if (!report.empty()) prompter.Inform(report);
}

}  // namespace

void Button2Click(MainState& state, const Context& context) {
  RunCommand(context.prompter,
             [&] { RenameRun(state.list, state.edit2, state.start_number, false, context); });
}

void RenameWithNamesAlone(MainState& state, const Context& context) {
  RunCommand(context.prompter,
             [&] { RenameRun(state.list, {}, state.start_number, true, context); });
}

}  // namespace zefa
