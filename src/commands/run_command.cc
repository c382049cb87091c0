// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/run_command.h"

#include "platform/command_error.h"
#include "platform/prompter.h"

namespace zefa {

void ShowApplicationError(Prompter& prompter, const std::exception& error) {
  prompter.ApplicationError(ApplicationErrorText(error.what()));
}

}  // namespace zefa
