// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include <charconv>
#include <limits>

#include "text/code_page_convert.h"

namespace zefa {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Section and key folded together; the NUL cannot occur inside a name.
std::string IndexKey(std::string_view section, std::string_view key) {
  std::string folded;
  folded.reserve(section.size() + key.size() + 1);
  for (char c : section) folded += FoldCase(c);
  folded += '\0';
  for (char c : key) folded += FoldCase(c);
  return folded;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string EncodeProfileValue(std::string_view value) {
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                         IsQuote(value.front()) || IsQuote(value.back()))) {
    return '"' + std::string(value) + '"';
  }
  return std::string(value);
}

std::string_view DecodeProfileValue(std::string_view raw) {
  std::string_view value = Trim(raw);
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::optional<int> ParseProfileInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  long long magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const long long value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

bool IsRecordableValue(std::string_view value) {
  return value.find_first_of("\r\n") == std::string_view::npos;
}

Profile Profile::Parse(std::string_view bytes) { return ParseBytes(DecodeStoredText(bytes)); }

Profile Profile::ParseBytes(std::string_view text) {
  Profile profile;
  std::size_t start = 0;
  bool line_end_known = false;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string::npos;
    if (last) end = text.size();
    std::string_view raw(text.data() + start, end - start);
    if (!raw.empty() && raw.back() == '\r') {
      raw.remove_suffix(1);
      if (!line_end_known) profile.line_end_ = "\r\n";
    }
    if (!last) line_end_known = true;
    Line line;
    line.text = std::string(raw);
    const std::string_view trimmed = Trim(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      line.is_section = true;
      const std::size_t close = trimmed.find(']');
      line.name = std::string(Trim(trimmed.substr(1, close == std::string_view::npos
                                                          ? std::string_view::npos
                                                          : close - 1)));
    } else if (const std::size_t equals = raw.find('='); equals != std::string_view::npos) {
      line.name = std::string(Trim(raw.substr(0, equals)));
      line.value = std::string(DecodeProfileValue(raw.substr(equals + 1)));
    }
    profile.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return profile;
}

void Profile::Reindex() const {
  index_.clear();
  const std::string* section = nullptr;
  std::unordered_map<std::string, bool> seen_sections;
  bool section_counts = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.is_section) {
      section = &line.name;
      // Only the first section of a name is read, as by the Windows functions.
      section_counts = seen_sections.emplace(IndexKey(line.name, {}), true).second;
    } else if (section != nullptr && section_counts && !line.name.empty()) {
      index_.emplace(IndexKey(*section, line.name), i);
    }
  }
  index_valid_ = true;
}

std::optional<std::string_view> Profile::Find(std::string_view section,
                                              std::string_view key) const {
  if (!index_valid_) Reindex();
  const auto found = index_.find(IndexKey(section, key));
  if (found == index_.end()) return std::nullopt;
  return std::string_view(lines_[found->second].value);
}

bool Profile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsRecordableValue(value) || !IsRecordableValue(key)) return false;
  Line entry;
  entry.name = std::string(key);
  entry.value = std::string(value);
  entry.text = entry.name + '=' + EncodeProfileValue(value);
  index_valid_ = false;

  std::size_t i = 0;
  while (i < lines_.size() && !(lines_[i].is_section && SameName(lines_[i].name, section))) ++i;
  if (i == lines_.size()) {
    Line header;
    header.is_section = true;
    header.name = std::string(section);
    header.text = '[' + header.name + ']';
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(entry));
    return true;
  }
  std::size_t insert_at = i + 1;
  for (std::size_t j = i + 1; j < lines_.size() && !lines_[j].is_section; ++j) {
    if (!lines_[j].name.empty() && SameName(lines_[j].name, key)) {
      lines_[j] = std::move(entry);
      return true;
    }
    if (!Trim(lines_[j].text).empty()) insert_at = j + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(entry));
  return true;
}

std::string Profile::Serialize() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line_end_;
  }
  return text;
}

}  // namespace zefa
