// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/command_error.h"

#include "text/name_text.h"

namespace zefa {

CommandError WriteRefused(const std::string& path) {
  return CommandError(DisplayPath(path) + " に書き込めません");
}

std::string ApplicationErrorText(std::string text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace zefa
