// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/names_text.h"

#include <algorithm>

#include "text/code_page_convert.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// UTF-16 after its mark; a unit without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(big_endian ? (a << 8 | b) : (b << 8 | a));
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, c >= 0xD800 && c < 0xE000 ? char32_t{0xFFFD} : c);
  }
  return out;
}

}  // namespace

std::string DecodeNamesFile(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    bytes.remove_prefix(3);
  else if (bytes.substr(0, 2) == "\xFF\xFE")
    return Utf16ToUtf8(bytes.substr(2), false);
  else if (bytes.substr(0, 2) == "\xFE\xFF")
    return Utf16ToUtf8(bytes.substr(2), true);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return ShiftJisToUtf8(bytes);
}

std::vector<std::string> NameLines(std::string_view text, bool first_field) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::string line;
  bool in_quotes = false;
  bool field_done = false;  // the first field has ended: the rest of the line is skipped
  bool at_field_start = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (first_field && in_quotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        line += '"';
        ++i;
      } else if (c == '"') {
        in_quotes = false;
      } else {
        line += c;
      }
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(std::move(line));
      line.clear();
      field_done = false;
      at_field_start = true;
      continue;
    }
    if (field_done) continue;
    if (first_field && c == ',') {
      field_done = true;
      continue;
    }
    if (first_field && c == '"' && at_field_start) {
      in_quotes = true;
      at_field_start = false;
      continue;
    }
    at_field_start = false;
    line += c;
  }
  if (!line.empty() || (!text.empty() && text.back() != '\n' && text.back() != '\r')) {
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string LineCountText(const std::vector<std::string>& lines, const RenameList& list) {
  const std::size_t rows = list.unique.entries.size();
  if (lines.size() == rows) return {};
  std::size_t same = 0;
  while (same < lines.size() && same < rows && lines[same] == list.unique.entries[same]) ++same;
  const std::size_t difference = lines.size() > rows ? lines.size() - rows : rows - lines.size();
  return "行の数 " + std::to_string(lines.size()) + " がファイルの数 " + std::to_string(rows) +
         " と合いません（" + std::to_string(difference) + " 行" +
         (lines.size() > rows ? "多い" : "少ない") + "）。" + std::to_string(same + 1) +
         " 行目から固有ファイル名と食い違っています。";
}

bool ApplyNameLines(RenameList& list, std::vector<std::string> lines) {
  if (lines.size() != list.unique.entries.size()) return false;
  list.unique.entries = std::move(lines);
  return true;
}

}  // namespace zefa
