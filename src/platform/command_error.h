// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace zefa {

/** An error that ends a command and is shown in the application's error box. */
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/** "%s に書き込めません" with the path in place of %s. */
CommandError WriteRefused(const std::string& path);

/** The text of the application's error box: a "." is appended when the last byte sorts after ".".
 */
std::string ApplicationErrorText(std::string text);

}  // namespace zefa
