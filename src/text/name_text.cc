// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/name_text.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <vector>

namespace zefa {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<std::vector<UChar>> Utf8ToUtf16(std::string_view utf8) {
  std::vector<UChar> out(utf8.size() + 1);
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::string> Utf16ToUtf8(const UChar* text, int32_t size) {
  std::string out(static_cast<std::size_t>(size) * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text, size, &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

// UTF-8 characters are kept; every other byte reads as \xNN.
std::string EscapeInvalidBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = CharLength(bytes, i, CodePage::kUtf8);
    const std::string_view character = bytes.substr(i, length);
    if (IsValidUtf8(character)) {
      text += character;
      i += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text += "\\x";
    text += kHex[byte >> 4];
    text += kHex[byte & 0x0F];
    ++i;
  }
  return text;
}

}  // namespace

std::string ComposedUtf8(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  const auto utf16 = Utf8ToUtf16(utf8);
  if (U_FAILURE(status) || !utf16) return std::string(utf8);
  const auto size = static_cast<int32_t>(utf16->size());
  if (unorm2_isNormalized(nfc, utf16->data(), size, &status) || U_FAILURE(status)) {
    return std::string(utf8);
  }
  status = U_ZERO_ERROR;
  // Composition never lengthens a text; decomposed forms of the rest stay within 3 times.
  std::vector<UChar> composed(utf16->size() * 3 + 1);
  const int32_t length = unorm2_normalize(nfc, utf16->data(), size, composed.data(),
                                          static_cast<int32_t>(composed.size()), &status);
  if (U_FAILURE(status)) return std::string(utf8);
  return Utf16ToUtf8(composed.data(), length).value_or(std::string(utf8));
}

std::string NameInCodePage(std::string_view name, CodePage code_page) {
  if (code_page == CodePage::kShiftJis || IsAscii(name)) return std::string(name);
  if (IsValidUtf8(name)) return ComposedUtf8(name);
  if (auto converted = StrictShiftJisToUtf8(name)) return ComposedUtf8(*converted);
  return std::string(name);
}

std::string DisplayName(std::string_view name) {
  if (IsValidUtf8(name)) return std::string(name);
  if (auto converted = StrictShiftJisToUtf8(name)) return std::move(*converted);
  return EscapeInvalidBytes(name);
}

std::string DisplayPath(std::string_view path) {
  if (IsValidUtf8(path)) return std::string(path);
  std::string text;
  text.reserve(path.size() * 2);
  for (std::size_t start = 0;;) {
    const std::size_t slash = path.find('/', start);
    text += DisplayName(path.substr(start, slash - start));
    if (slash == std::string_view::npos) break;
    text += '/';
    start = slash + 1;
  }
  return text;
}

}  // namespace zefa
