// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "rename/rename_run.h"

#include "app/form_create.h"
#include "platform/command_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "rename/restore_file.h"
#include "renamelist/check_name_chars.h"
#include "settings/settings_keys.h"

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
constexpr const char* kLineBreakText =
    "次のファイルの名前には改行が含まれているため、リストアファイルに記録できません。"
    "実行を中止します。\n\r";
constexpr const char* kNotUtf8Text =
    "次のファイルの名前には UTF-8 として読めない文字が含まれているため、"
    "リストアファイルに記録できません。実行を中止します。\n\r";
constexpr const char* kDoneText = "完了しました。";
constexpr const char* kFailureHead = "以下のファイルのリネームに失敗しました";
constexpr const char* kLineBreak = "\n\r";

void ShowError(Prompter& prompter, const std::string& text) {
  prompter.Beep(BeepKind::kError);
  prompter.Error(text);
}

const std::string* FirstMissingFile(const RenameList& list, FileSystem& file_system) {
  const std::vector<bool> exist = file_system.FilesExist(list.path.entries);
  for (std::size_t row = 0; row < exist.size(); ++row) {
    if (!exist[row]) return &list.path.entries[row];
  }
  return nullptr;
}

// Patterns 7 and 8 without a common name need a unique name on every row.
const std::string* FirstRowWithoutName(const RenameList& list, const SettingsFile& settings) {
  const auto pattern = [&] {
    return settings.ReadInteger(keys::kSection, keys::kPattern, keys::kDefaultPattern);
  };
  if (pattern() != 7 && pattern() != 8) return nullptr;
  for (int row = 0; row < RowCount(list); ++row) {
    const auto index = static_cast<std::size_t>(row);
    if (list.unique.entries[index].empty()) return &list.path.entries[index];
  }
  return nullptr;
}

RowStatus StatusOf(RenameOutcome outcome) {
  switch (outcome) {
    case RenameOutcome::kDone:
      return RowStatus::kRenamed;
    case RenameOutcome::kTargetExists:
      return RowStatus::kTargetExists;
    case RenameOutcome::kSourceMissing:
      return RowStatus::kSourceMissing;
    case RenameOutcome::kFailed:
      break;
  }
  return RowStatus::kFailed;
}

void RenameRun(MainState& state, const Context& context) {
  Prompter& prompter = context.prompter;
  const RenameList& list = state.list;

  prompter.Beep(BeepKind::kWarning);
  if (!prompter.Confirm(kConfirmText)) return;

  if (const std::string* missing = FirstMissingFile(list, context.file_system)) {
    ShowError(prompter, kMissingFileText + *missing);
    return;
  }
  const SettingsFile settings = context.Settings();
  if (state.edit2.empty()) {
    if (const std::string* unnamed = FirstRowWithoutName(list, settings)) {
      ShowError(prompter, kNameMissingText + *unnamed);
      return;
    }
  }
  if (!CheckNameChars(state.edit2, context.rules.code_page, prompter)) return;
  const NameSettings name_settings = ReadNameSettings(settings);
  // The other parts of the names are checked too, so that no new name leaves its folder.
  if (!CheckNameParts(list, name_settings, context)) return;

  std::vector<PlannedRename> plan =
      BuildRenamePlan(list, state.edit2, state.start_number, name_settings, context.rules);

  prompter.Beep(BeepKind::kWarning);
  const bool with_restore = prompter.Warn(kRestoreQuestion);
  if (with_restore) {
    // A path the record cannot give back unchanged would make the run impossible to undo.
    if (const auto unrecordable = FirstUnrecordableRow(plan)) {
      const char* text =
          unrecordable->reason == Unrecordable::kLineBreak ? kLineBreakText : kNotUtf8Text;
      ShowError(prompter, text + *unrecordable->old_path);
      return;
    }
    prompter.Inform(kRestoreNotice);
    // The whole record is on the disk before the first file is touched; a refused write
    // ends the run here, with nothing renamed.
    WriteRestoreFile(context.file_system, context.paths.restore_folder, context.rules, plan);
  }

  ExecuteRenamePlan(plan, context.file_system);

  prompter.Beep(BeepKind::kInformation);
  prompter.Inform(kDoneText);
  const std::string report = FailureReport(plan);
  if (!report.empty()) prompter.Inform(report);
}

}  // namespace

bool CheckNameParts(const RenameList& list, const NameSettings& settings, const Context& context) {
  const CodePage code_page = context.rules.code_page;
  Prompter& prompter = context.prompter;
  if (settings.pattern < 1 || settings.pattern > 8) return true;  // no name is built
  if (!IsPatternWithoutNumber(settings.pattern) &&
      (!CheckNameChars(settings.open_bracket, code_page, prompter) ||
       !CheckNameChars(settings.close_bracket, code_page, prompter))) {
    return false;
  }
  // Unique names and extensions come from file names, where the other characters may be
  // legal: only a path separator is refused in them, as it would move the file elsewhere.
  const char* separators = context.rules.path_style == PathStyle::kWindows ? "\\/:" : "/";
  const auto check = [&](const std::string& text) {
    if (text.find_first_of(separators) == std::string::npos) return true;
    for (const char* c = separators; *c != '\0'; ++c) {
      if (ContainsText(text, std::string_view(c, 1), code_page)) {
        prompter.Beep(BeepKind::kError);
        prompter.Error(std::string("使えない文字\"") + *c + "\"が含まれています");
        return false;
      }
    }
    return true;
  };
  for (const std::string& unique : list.unique.entries) {
    if (!check(unique)) return false;
  }
  for (const std::string& extension : list.extension.entries) {
    if (!check(extension)) return false;
  }
  return true;
}

void ExecuteRenamePlan(std::vector<PlannedRename>& plan, FileSystem& file_system) {
  std::vector<RenamePair> pairs;
  std::vector<PlannedRename*> renamed_rows;
  pairs.reserve(plan.size());
  renamed_rows.reserve(plan.size());
  for (PlannedRename& row : plan) {
    if (row.new_path == row.old_path) {
      row.status = RowStatus::kUnchanged;
      continue;
    }
    pairs.push_back({&row.old_path, &row.new_path});
    renamed_rows.push_back(&row);
  }
  const std::vector<RenameOutcome> outcomes = file_system.RenameEachNoReplace(pairs);
  for (std::size_t i = 0; i < renamed_rows.size(); ++i) {
    renamed_rows[i]->status = i < outcomes.size() ? StatusOf(outcomes[i]) : RowStatus::kFailed;
  }
}

std::string FailureReport(const std::vector<PlannedRename>& plan) {
  std::string report;
  int failures = 0;
  for (const PlannedRename& row : plan) {
    if (!IsFailure(row.status)) continue;
    if (failures == 0) report = kFailureHead;
    if (failures < kReportedFailures) report += kLineBreak + row.old_path;
    ++failures;
  }
  if (failures > kReportedFailures) {
    report += kLineBreak;
    report += "他" + std::to_string(failures - kReportedFailures) + "個";
  }
  return report;
}

void Button2Click(MainState& state, const Context& context) {
  RunCommand(context.prompter, [&] { RenameRun(state, context); });
}

}  // namespace zefa
