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
  if (digits < 2 || digits > kMaxDigits) return text;
  std::size_t zeros = 0;
  for (int power = 1, bound = 10; power < digits; ++power, bound *= 10) zeros += number < bound;
  return std::string(zeros, '0') + text;
}

}  // namespace zefa
