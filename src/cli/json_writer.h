// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace zefa {

/**
 * One JSON document written as it is made, for scripts. Texts are UTF-8 (a byte that is
 * no part of a UTF-8 character becomes U+FFFD); a path is written as the restore file
 * records it (EncodeRecordedPath), so that a name that is not UTF-8 comes through byte
 * for byte.
 */
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  JsonWriter& Open();                           // {
  JsonWriter& Close();                          // }
  JsonWriter& OpenArray(std::string_view key);  // "key": [ (an empty key: an element)
  JsonWriter& CloseArray();
  JsonWriter& Object();  // { as an element of an array
  JsonWriter& Text(std::string_view key, std::string_view text);
  JsonWriter& Path(std::string_view key, std::string_view path);
  JsonWriter& Number(std::string_view key, std::int64_t number);
  JsonWriter& Bool(std::string_view key, bool value);
  JsonWriter& Null(std::string_view key);
  JsonWriter& TextElement(std::string_view text);
  /** Ends the document with a line break. */
  void End();

 private:
  void Key(std::string_view key);
  void String(std::string_view text);

  std::ostream& out_;
  bool first_ = true;
};

}  // namespace zefa
