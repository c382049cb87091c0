// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

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
