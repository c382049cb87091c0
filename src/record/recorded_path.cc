// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "record/recorded_path.h"

#include "text/code_page_convert.h"
#include "text/text_rules.h"
#include "text/uri_list.h"

namespace zefa {

bool NeedsEscape(std::string_view path) {
  return !IsValidUtf8(path) || FindLineBreak(path) != std::string_view::npos ||
         path.starts_with(kEscapedPathPrefix);
}

std::string EncodeRecordedPath(std::string_view path) {
  if (!NeedsEscape(path)) return std::string(path);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string value(kEscapedPathPrefix);
  value.reserve(value.size() + path.size() * 3);
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = CharLength(path, i, CodePage::kUtf8);
    const auto byte = static_cast<unsigned char>(path[i]);
    const bool plain = length > 1 ? IsValidUtf8(path.substr(i, length))
                                  : byte >= 0x20 && byte < 0x7F && byte != '%';
    if (plain) {
      value += path.substr(i, length);
      i += length;
      continue;
    }
    value += '%';
    value += kHex[byte >> 4];
    value += kHex[byte & 0x0F];
    ++i;
  }
  return value;
}

std::string DecodeRecordedPath(std::string_view value) {
  if (!value.starts_with(kEscapedPathPrefix)) return std::string(value);
  return PercentDecoded(value.substr(kEscapedPathPrefix.size()));
}

}  // namespace zefa
