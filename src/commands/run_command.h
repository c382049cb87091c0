// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <exception>

#include "platform/memory.h"

namespace zefa {

class Prompter;

/** Shows an error that escaped a command in the application's error box. */
void ShowApplicationError(Prompter& prompter, const std::exception& error);

/**
 * Runs one command; an error that escapes it ends it there and is shown in the
 * application's error box. Returns false when that happened. What the command freed goes
 * back to the system either way.
 */
template <typename Command>
bool RunCommand(Prompter& prompter, Command&& command) {
  bool done = false;
  try {
    command();
    done = true;
  } catch (const std::exception& error) {
    ShowApplicationError(prompter, error);
  }
  ReturnFreedMemory();
  return done;
}

}  // namespace zefa
