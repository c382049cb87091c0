// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/rename_command.h"

#include <memory>

#include "commands/run_command.h"
#include "platform/command_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renaming/case_only_rename.h"
#include "renaming/check_name_chars.h"
#include "renaming/rename_execution.h"
#include "renaming/restore_file.h"
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

// Patterns 7 and 8 name a file by its names alone: without a common name each row needs
// its unique name. The pattern is read, and for 8 read again, as the settings file is.
bool NeedsUniqueNames(const SettingsFile& settings) {
  const auto pattern = [&] {
    return settings.ReadInteger(keys::kSection, keys::kPattern, keys::kDefaultPattern);
  };
  return pattern() == 7 || pattern() == 8;
}

void RenameRun(const RenameList& list, const std::string& common_name, int start_number,
               const Context& context) {
  Prompter& prompter = context.prompter;

  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Confirm(kConfirmText)) return;

  if (const std::string* missing = FirstMissingFile(list, context.file_system)) {
    ShowError(prompter, kMissingFileText + DisplayPath(*missing));
    return;
  }
  const SettingsFile settings = context.Settings();
  if (common_name.empty() && NeedsUniqueNames(settings)) {
    if (const std::string* unnamed = FirstRowWithoutUniqueName(list)) {
      ShowError(prompter, kNameMissingText + DisplayPath(*unnamed));
      return;
    }
  }
  if (!CheckNameChars(common_name, context.rules.code_page, prompter)) return;
  const NameSettings name_settings = ReadNameSettings(settings);
  // The other parts of the names are checked too, so that no new name leaves its folder.
  if (!CheckNameParts(list, name_settings, context.rules, prompter)) return;

  std::vector<PlannedRename> plan =
      BuildRenamePlan(list, common_name, start_number, name_settings, context.rules);
  // A change of case alone, where names ignore case, goes through a temporary name.
  RouteThroughTemporaryNames(plan, context.file_system, context.rules);

  prompter.Beep(BeepKind::kWarning);
  const bool with_restore = prompter.Warn(kRestoreQuestion);
  std::string restore_path;
  if (with_restore) {
    prompter.Inform(kRestoreNotice);
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
  // The rows that did not move, so that the undo never looks for them.
  if (!restore_path.empty()) AppendRunOutcome(context.file_system, restore_path, plan);

  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(kDoneText);
  const std::string report = FailureReport(plan);
  if (!report.empty()) prompter.Inform(report);
}

}  // namespace

void Button2Click(MainState& state, const Context& context) {
  RunCommand(context.prompter,
             [&] { RenameRun(state.list, state.edit2, state.start_number, context); });
}

}  // namespace zefa
