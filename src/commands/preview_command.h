// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "commands/context.h"
#include "commands/main_state.h"
#include "run/preview.h"

namespace zefa {

/**
 * Button12Click's filling of the preview: the common name is checked with CheckNameChars,
 * the naming settings read once, and every row composed from the start number on, as the
 * rename run will do it (numbers past the spin box's bound included), and the run played
 * through on the file system to mark every row that will fail. nullopt when the
 * common name is refused: the check's message has been shown and the preview stays
 * closed, as the run itself would stop there.
 */
std::optional<Preview> BuildPreview(const MainState& state, const Context& context);

/** The same with the naming settings given instead of read from the settings file. */
std::optional<Preview> BuildPreview(const MainState& state, const Context& context,
                                    const NameSettings& settings);

}  // namespace zefa
