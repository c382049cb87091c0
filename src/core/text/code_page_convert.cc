// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/code_page_convert.h"

#include <unicode/ucnv.h>

#include "text/text_rules.h"

namespace zefa {
namespace {

std::string Convert(const char* to, const char* from, std::string_view bytes) {
  if (bytes.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  const auto length = static_cast<int32_t>(bytes.size());
  // Each input byte yields at most three output bytes in either direction.
  std::string out(bytes.size() * 3 + 8, '\0');
  const int32_t written = ucnv_convert(to, from, out.data(), static_cast<int32_t>(out.size()),
                                       bytes.data(), length, &status);
  if (U_FAILURE(status)) return std::string(bytes);
  out.resize(static_cast<std::size_t>(written));
  return out;
}

}  // namespace

std::string ShiftJisToUtf8(std::string_view bytes) { return Convert("UTF-8", "windows-932", bytes); }

std::string Utf8ToShiftJis(std::string_view bytes) { return Convert("windows-932", "UTF-8", bytes); }

std::string DecodeStoredText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return ShiftJisToUtf8(bytes);
}

}  // namespace zefa
