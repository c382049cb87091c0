// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/text_rules.h"

#include <cstdint>
#include <cstring>

namespace zefa {
namespace {

bool IsShiftJisLead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsSeparator(char c, PathStyle style) {
  if (style == PathStyle::kPosix) return c == '/';
  return c == '\\' || c == ':';
}

// Position of the last single-byte character `c` that is a character of its own.
std::size_t LastChar(std::string_view text, char c, CodePage code_page) {
  std::size_t found = kNotFound;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, code_page)) {
    if (text[i] == c) found = i;
  }
  return found;
}

}  // namespace

TextRules NativeTextRules() {
  // The window hands the core UTF-8 on every platform; only the separators differ.
#ifdef _WIN32
  return {CodePage::kUtf8, PathStyle::kWindows};
#else
  return {CodePage::kUtf8, PathStyle::kPosix};
#endif
}

std::size_t CharLength(std::string_view text, std::size_t pos, CodePage code_page) {
  const std::size_t left = text.size() - pos;
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (code_page == CodePage::kShiftJis) return IsShiftJisLead(lead) && left >= 2 ? 2 : 1;
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (length > left) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(text[pos + k]))) return 1;
  }
  return length;
}

std::size_t FindText(std::string_view text, std::string_view pattern, CodePage code_page,
                     std::size_t from) {
  if (pattern.empty() || pattern.size() > text.size()) return kNotFound;
  std::size_t i = 0;
  while (i < from && i < text.size()) i += CharLength(text, i, code_page);
  const std::size_t last = text.size() - pattern.size();
  while (i <= last) {
    // Jump to the next candidate byte, then walk the characters up to it so that a
    // match never starts inside a two-byte character.
    const void* hit = std::memchr(text.data() + i, pattern.front(), last - i + 1);
    if (hit == nullptr) return kNotFound;
    const auto candidate = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    while (i < candidate) i += CharLength(text, i, code_page);
    if (i == candidate && text.compare(i, pattern.size(), pattern) == 0) return i;
    if (i == candidate) i += CharLength(text, i, code_page);
  }
  return kNotFound;
}

std::size_t FindLineBreak(std::string_view text, std::size_t from) {
  if (from >= text.size()) return std::string_view::npos;
  const std::size_t line_feed = text.find('\n', from);
  const std::size_t scanned = line_feed == std::string_view::npos ? text.size() : line_feed;
  const std::size_t carriage_return = text.substr(0, scanned).find('\r', from);
  return carriage_return != std::string_view::npos ? carriage_return : line_feed;
}

std::size_t FileNameStart(std::string_view path, const TextRules& rules) {
  // In UTF-8 every byte of a multi-byte character is 0x80 or above, so the last separator
  // byte is a character of its own: no walk through the characters is needed.
  if (rules.code_page == CodePage::kUtf8) {
    // One byte to look for is one reverse scan; a set of them would be a search per byte.
    const std::size_t last =
        rules.path_style == PathStyle::kWindows ? path.find_last_of("\\:") : path.rfind('/');
    return last == std::string_view::npos ? 0 : last + 1;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = CharLength(path, i, rules.code_page);
    if (length == 1 && IsSeparator(path[i], rules.path_style)) start = i + 1;
    i += length;
  }
  return start;
}

bool IsFullPath(std::string_view path, const TextRules& rules) {
  if (rules.path_style == PathStyle::kPosix) return !path.empty() && path[0] == '/';
  const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  return drive || path.starts_with("\\\\");
}

std::string_view FolderPart(std::string_view path, const TextRules& rules) {
  return path.substr(0, FileNameStart(path, rules));
}

std::string_view FileNamePart(std::string_view path, const TextRules& rules) {
  return path.substr(FileNameStart(path, rules));
}

bool HasPathSeparator(std::string_view text, const TextRules& rules) {
  return FileNameStart(text, rules) != 0;
}

std::string_view StemOf(std::string_view file_name, CodePage code_page) {
  const std::size_t dot = LastChar(file_name, '.', code_page);
  return dot == kNotFound ? file_name : file_name.substr(0, dot);
}

std::string_view ExtensionOf(std::string_view file_name, CodePage code_page) {
  const std::size_t dot = LastChar(file_name, '.', code_page);
  return dot == kNotFound ? std::string_view{} : file_name.substr(dot);
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = CharLength(bytes, i, CodePage::kUtf8);
    if (length == 1) return false;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    // Overlong forms and UTF-16 surrogates are not UTF-8.
    if (lead == 0xE0 && second < 0xA0) return false;
    if (lead == 0xED && second > 0x9F) return false;
    if (lead == 0xF0 && second < 0x90) return false;
    if (lead == 0xF4 && second > 0x8F) return false;
    i += length;
  }
  return true;
}

}  // namespace zefa
