// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/padding.h"

namespace zefa {

std::string PadNumber(int number, std::string_view text) {
  if (number < 10) return "00" + std::string(text);
  if (number < 100) return "0" + std::string(text);
  return std::string(text);
}

std::string PadTwoDigits(int number, std::string_view text) {
  if (number < 10) return "0" + std::string(text);
  return std::string(text);
}

std::string NumberText(int number, int digits) {
  const std::string text = std::to_string(number);
  if (digits == 2) return PadTwoDigits(number, text);
  if (digits == 3) return PadNumber(number, text);
  return text;
}

}  // namespace zefa
