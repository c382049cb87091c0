// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include <charconv>
#include <limits>

#include "text/code_page_convert.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool HasLineBreak(std::string_view text) { return FindLineBreak(text) != std::string_view::npos; }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::string EncodeProfileValue(std::string_view value) {
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                         IsQuote(value.front()) || IsQuote(value.back()))) {
    return '"' + std::string(value) + '"';
  }
  return std::string(value);
}

std::string_view DecodeProfileValue(std::string_view raw) {
  std::string_view value = TrimBlanks(raw);
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::optional<int> ParseProfileInteger(std::string_view text) {
  text = TrimBlanks(text);
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
  // from_chars would take a second sign ("--3", "0x-3"): only digits may follow.
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  unsigned long long magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  constexpr auto kMax = static_cast<unsigned long long>(std::numeric_limits<int>::max());
  if (magnitude > kMax + (negative ? 1 : 0)) return std::nullopt;
  if (negative) return static_cast<int>(-static_cast<long long>(magnitude));
  return static_cast<int>(magnitude);
}

bool IsRecordableValue(std::string_view value) {
  // A value that is not UTF-8 would make the whole file read as Shift-JIS next time.
  return !HasLineBreak(value) && IsValidUtf8(value);
}

bool IsRecordableSection(std::string_view section) {
  return !HasLineBreak(section) && section.find(']') == std::string_view::npos &&
         TrimBlanks(section) == section && IsValidUtf8(section);
}

bool IsRecordableKey(std::string_view key) {
  return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
         key.front() != '[' && TrimBlanks(key) == key && IsValidUtf8(key);
}

void ForEachProfileLine(std::string_view text,
                        const std::function<bool(const ProfileLine&)>& line_read) {
  for (std::size_t start = 0; start < text.size();) {
    ProfileLine line;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    } else {
      line.ending = "\n";
    }
    line.raw = text.substr(start, end - start);
    start = end + line.ending.size();
    if (!line.raw.empty() && line.raw.back() == '\r') {
      line.raw.remove_suffix(1);
      line.ending = line.ending.empty() ? "\r" : "\r\n";
    }
    const std::string_view trimmed = TrimBlanks(line.raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      line.is_section = true;
      const std::size_t close = trimmed.find(']');
      line.name = TrimBlanks(
          trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else if (const std::size_t equals = line.raw.find('='); equals != std::string_view::npos) {
      line.name = TrimBlanks(line.raw.substr(0, equals));
      line.value = DecodeProfileValue(line.raw.substr(equals + 1));
    }
    if (!line_read(line)) return;
  }
}

Profile Profile::Parse(std::string_view bytes) {
  Profile profile;
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    profile.bom_ = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  const std::string text = DecodeStoredText(bytes);
  bool line_end_known = false;
  ForEachProfileLine(text, [&](const ProfileLine& read) {
    if (!line_end_known && !read.ending.empty() && read.ending.back() == '\n') {
      profile.line_end_ = read.ending;
      line_end_known = true;
    }
    Line line;
    line.text = std::string(read.raw);
    line.ending = read.ending;
    line.is_section = read.is_section;
    line.name = std::string(read.name);
    line.value = std::string(read.value);
    profile.lines_.push_back(std::move(line));
    return true;
  });
  return profile;
}

namespace {

// Section and key folded together; a NUL cannot stand in a name.
std::string IndexKey(std::string_view section, std::string_view key) {
  std::string folded;
  folded.reserve(section.size() + key.size() + 1);
  for (char c : section) folded += FoldCase(c);
  folded += '\0';
  for (char c : key) folded += FoldCase(c);
  return folded;
}

}  // namespace

std::optional<std::string_view> Profile::Find(std::string_view section,
                                              std::string_view key) const& {
  if (lines_.size() < kIndexedLines) return Scan(section, key);
  if (!index_built_) BuildIndex();
  const auto found = index_.find(IndexKey(section, key));
  if (found == index_.end()) return std::nullopt;
  return std::string_view(lines_[found->second].value);
}

std::optional<std::string_view> Profile::Scan(std::string_view section,
                                              std::string_view key) const {
  // Only the first section of a name is read, and in it the first line of a key, as by
  // the Windows functions; Set changes the same lines.
  bool section_seen = false;
  bool in_section = false;
  for (const Line& line : lines_) {
    if (line.is_section) {
      if (in_section) return std::nullopt;
      in_section = !section_seen && SameProfileName(line.name, section);
      section_seen = section_seen || in_section;
    } else if (in_section && !line.name.empty() && SameProfileName(line.name, key)) {
      return std::string_view(line.value);
    }
  }
  return std::nullopt;
}

void Profile::BuildIndex() const {
  // The same lines as Scan finds: the first section of a name, the first line of a key.
  index_.clear();
  std::unordered_map<std::string, bool> sections_seen;
  const Line* section = nullptr;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.is_section) {
      section = sections_seen.emplace(IndexKey(line.name, {}), true).second ? &line : nullptr;
    } else if (section != nullptr && !line.name.empty()) {
      index_.emplace(IndexKey(section->name, line.name), i);
    }
  }
  index_built_ = true;
}

bool Profile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsRecordableSection(section) || !IsRecordableKey(key) || !IsRecordableValue(value)) {
    return false;
  }
  Line entry;
  entry.name = std::string(key);
  entry.value = std::string(value);
  entry.text = entry.name + '=' + EncodeProfileValue(value);

  std::size_t i = 0;
  while (i < lines_.size() && !(lines_[i].is_section && SameProfileName(lines_[i].name, section))) {
    ++i;
  }
  if (i == lines_.size()) {
    Line header;
    header.is_section = true;
    header.name = std::string(section);
    header.text = '[' + header.name + ']';
    Insert(lines_.size(), std::move(header));
    Insert(lines_.size(), std::move(entry));
    return true;
  }
  std::size_t insert_at = i + 1;
  for (std::size_t j = i + 1; j < lines_.size() && !lines_[j].is_section; ++j) {
    if (!lines_[j].name.empty() && SameProfileName(lines_[j].name, key)) {
      entry.ending = lines_[j].ending;
      lines_[j] = std::move(entry);
      return true;
    }
    if (!TrimBlanks(lines_[j].text).empty()) insert_at = j + 1;
  }
  Insert(insert_at, std::move(entry));
  return true;
}

void Profile::Insert(std::size_t at, Line line) {
  index_built_ = false;
  // The line before it may be the last of the file, without a line end of its own.
  if (at > 0 && (lines_[at - 1].ending.empty() || lines_[at - 1].ending == "\r")) {
    lines_[at - 1].ending = line_end_;
  }
  line.ending = line_end_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

std::string Profile::Serialize() const {
  std::string text(bom_ ? kUtf8Bom : std::string_view{});
  for (const Line& line : lines_) {
    text += line.text;
    text += line.ending;
  }
  return text;
}

}  // namespace zefa
