// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

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
  /** Text that is not valid UTF-8 is read as Shift-JIS. */
  static Profile Parse(std::string_view bytes);
  /** The bytes as they are, in whatever code page wrote them (restore files hold paths). */
  static Profile ParseBytes(std::string_view bytes);

  /** The stored value, blanks and one pair of quotes dropped; nullopt when absent. */
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

  /** Sets the value; false (and nothing changed) when it holds a line break. */
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Serialize() const;

 private:
  struct Line {
    std::string text;
    bool is_section = false;
    std::string name;  // section or key name, as written
    std::string value; // decoded value of a key line
  };
  using Index = std::unordered_map<std::string, std::size_t>;

  void Reindex() const;

  std::vector<Line> lines_;
  std::string line_end_ = "\n";
  mutable Index index_;
  mutable bool index_valid_ = false;
};

/** A value as the writer stores it: quoted when it begins or ends with a blank or a quote. */
std::string EncodeProfileValue(std::string_view value);

/** The value of a stored line after "=": blanks and one pair of matching quotes dropped. */
std::string_view DecodeProfileValue(std::string_view raw);

/** Decimal, or hexadecimal after "0x"; nullopt for anything else (empty text included). */
std::optional<int> ParseProfileInteger(std::string_view text);

/** Whether a key line for this value can be written at all. */
bool IsRecordableValue(std::string_view value);

}  // namespace zefa
