// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"
#include "names/compose_name.h"
#include "run/change_pipeline.h"

namespace zefa {

inline constexpr const char* kRestoreQuestion =
    "リストアファイルを作成しますか？\n\r"
    "「いいえ」を選択すると元に戻せません。\n\r"
    "「はい」を選択してもリネームしたファイルを移動したり、"
    "名前の変更を行ったりするともとにもどせなくなります。";
inline constexpr const char* kRestoreNotice =
    "元に戻すには、[ファイル]メニューから[元に戻す]を選択してください。";

/** How a run went, for a caller that reports it in its own way (the command line). */
struct RunOutcome {
  bool reached_loop = false;  // false: not confirmed or refused by a check; nothing renamed
  ChangePlan plan;            // its old paths are views into the list, which must outlive it
  std::string restore_path;   // "" without a restore file
  bool stopped = false;       // stopped after a rename; changes not reached stay kPlanned
};

/**
 * The whole run of "リネーム開始" with the naming settings given: every question, check,
 * message and progress goes through the context's prompter, so a window and the command
 * line run the same steps. Throws CommandError when the restore file cannot be written,
 * before anything is renamed.
 */
RunOutcome RenameRun(const RenameList& list, const std::string& common_name, int start_number,
                     const NameSettings& name_settings, const Context& context);

/**
 * "リネーム開始": confirms, checks every file and every part of the new names, asks
 * for a restore file and writes it completely before the first rename, renames every
 * row in list order without ever overwriting, and reports completion and failures.
 * Afterwards every row whose file was renamed names its new path; a row whose new name
 * is its present one is left alone. The common name and the start number stay. With
 * `Restore_always` on, the restore file is written without its question and the hint how
 * to undo comes with the completion message.
 */
void Button2Click(MainState& state, const Context& context);

/**
 * 置換後の名前でリネーム: the same run, with each row's unique name and extension alone
 * (no common name, no number), whatever the settings say; the settings stay as they are.
 */
void RenameWithNamesAlone(MainState& state, const Context& context);

}  // namespace zefa
