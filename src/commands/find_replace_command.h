// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "commands/main_state.h"
#include "names/name_replace.h"

namespace zefa {

/** The rows of the find-and-replace window's before-and-after lists. */
inline constexpr int kReplaceSampleRows = 8;

/** The line under the options: how many rows change, or how far the look has come. */
std::string ReplaceCountText(const ReplaceScan& scan, int rows);

/**
 * TForm6's Button1Click: the new texts of a scan that looked at the whole list without a
 * refusal go into the list's column; selections and every other column stay. False, with
 * nothing changed, for any other scan.
 */
bool ApplyFindReplace(MainState& state, const ReplaceScan& scan);

}  // namespace zefa
