// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

/** What the window must do after FormCreate, beyond rendering the state. */
struct FormCreateResult {
  bool update_chosen = false;  // open the program folder and the update site, then quit
};

/**
 * The main window's creation step, run at start-up and after every save of the settings:
 * scrolling widths, the file arrows by `UpDownButton_rendo`, the update check when
 * `UpdateCheck` is on (`check_for_update` returns true when the user chose to download),
 * and the serial-number controls by `pattern`. The list, the fields and the start number
 * are not touched.
 */
FormCreateResult FormCreate(MainState& state, const Context& context,
                            const std::function<bool()>& check_for_update);

}  // namespace zefa
