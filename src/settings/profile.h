// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zefa {

/**
 * The text of a private-profile (ini) file. Reads follow the Windows profile functions:
 * section and key names match without regard to case, blanks around a value are dropped,
 * and so is one pair of matching quotes. Writes change one line in place, add a new key
 * at the end of its section and a new section at the end of the text.
 */
class Profile {
 public:
  /** Text that is not valid UTF-8 is read as Shift-JIS; a UTF-8 byte order mark is skipped. */
  static Profile Parse(std::string_view bytes);

  /** The stored value, blanks and one pair of quotes dropped; nullopt when absent. */
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const&;
  /** The value lives in the profile: finding in a temporary would leave it dangling. */
  std::optional<std::string_view> Find(std::string_view, std::string_view) const&& = delete;

  /**
   * Sets the value; false (and nothing changed) when it could not be read back as given:
   * a line break, text that is not UTF-8, or a name the reader would take otherwise
   * (see IsRecordableSection, IsRecordableKey).
   */
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Serialize() const;

 private:
  struct Line {
    std::string text;         // without its line end
    std::string_view ending;  // "\n", "\r\n", "\r" or "" (the last line), kept as found
    bool is_section = false;
    std::string name;   // section or key name, as written
    std::string value;  // decoded value of a key line
  };
  void Insert(std::size_t at, Line line);
  std::optional<std::string_view> Scan(std::string_view section, std::string_view key) const;
  void BuildIndex() const;

  // A restore file holds two keys for every renamed file; its reader looks each one up
  // once, so a large profile gets an index (built on the first look-up, dropped by Set).
  static constexpr std::size_t kIndexedLines = 64;
  mutable std::unordered_map<std::string, std::size_t> index_;
  mutable bool index_built_ = false;

  std::vector<Line> lines_;
  // Ends a line the writer adds: the line end of the file's first line, "\n" when unknown.
  std::string_view line_end_ = "\n";
  bool bom_ = false;  // a UTF-8 byte order mark, kept as found
};

/** One line of a profile's text as the reader sees it; the views point into the text. */
struct ProfileLine {
  std::string_view raw;     // without its line end
  std::string_view ending;  // "\n", "\r\n", "\r" or "" (the last line), as found
  bool is_section = false;
  std::string_view name;   // section or key name, blanks dropped; empty for other lines
  std::string_view value;  // a key line's value (DecodeProfileValue)
};

/**
 * Reads decoded profile text line by line, as Profile::Parse does, until `line_read`
 * answers false.
 */
void ForEachProfileLine(std::string_view text,
                        const std::function<bool(const ProfileLine&)>& line_read);

/** Text without the blanks (spaces, tabs) at its ends, as names and values are read. */
std::string_view TrimBlanks(std::string_view text);

/** A value as the writer stores it: quoted when it begins or ends with a blank or a quote. */
std::string EncodeProfileValue(std::string_view value);

/** The value of a stored line after "=": blanks and one pair of matching quotes dropped. */
std::string_view DecodeProfileValue(std::string_view raw);

/** Decimal, or hexadecimal after "0x"; nullopt for anything else (empty text included). */
std::optional<int> ParseProfileInteger(std::string_view text);

/** Section and key names compare without regard to ASCII case. */
bool SameProfileName(std::string_view a, std::string_view b);

/** Whether a key line for this value can be written at all (one line of UTF-8). */
bool IsRecordableValue(std::string_view value);

/** A section name the reader finds again: one line, no "]", no blanks at either end. */
bool IsRecordableSection(std::string_view section);

/**
 * A key name the reader finds again: not empty, one line, no "=", no leading "[", no
 * blanks at either end.
 */
bool IsRecordableKey(std::string_view key);

}  // namespace zefa
