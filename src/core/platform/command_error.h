// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace zefa {

class Prompter;

/** An error that ends a command and is shown in the application's error box. */
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/** "%s に書き込めません" with the path in place of %s. */
CommandError WriteRefused(const std::string& path);

/** The text of the application's error box: a "." is appended when the last byte sorts after ".". */
std::string ApplicationErrorText(std::string text);

/**
 * Runs one command; an error that escapes it ends it there and is shown in the
 * application's error box. Returns false when that happened.
 */
template <typename Command>
bool RunCommand(Prompter& prompter, Command&& command);

void ShowApplicationError(Prompter& prompter, const std::exception& error);

template <typename Command>
bool RunCommand(Prompter& prompter, Command&& command) {
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    ShowApplicationError(prompter, error);
    return false;
  }
}

}  // namespace zefa
