// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

/**
 * "リネーム開始": confirms, checks every file and every part of the new names, asks
 * for a restore file and writes it completely before the first rename, renames every
 * row in list order without ever overwriting, and reports completion and failures. The
 * list, the common name and the start number are left as they were.
 */
void Button2Click(MainState& state, const Context& context);

}  // namespace zefa
