// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/json_writer.h"

#include "record/restore_file.h"

namespace zefa {
namespace {

// The length of the UTF-8 character at `at`, 0 when the bytes there are none.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = lead < 0x80           ? 1
                       : (lead >> 5) == 0x6  ? 2
                       : (lead >> 4) == 0xE  ? 3
                       : (lead >> 3) == 0x1E ? 4
                                             : 0;
  if (length == 0 || (length == 2 && lead < 0xC2) || (length == 4 && lead > 0xF4) ||
      at + length > text.size()) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  if (length == 3) {
    const unsigned char second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)) return 0;
  }
  if (length == 4) {
    const unsigned char second = byte(at + 1);
    if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) return 0;
  }
  return length;
}

}  // namespace

void JsonWriter::Key(std::string_view key) {
  if (!first_) out_ << ',';
  first_ = false;
  if (!key.empty()) {
    String(key);
    out_ << ':';
  }
}

void JsonWriter::String(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out_ << '"';
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out_ << '\\' << static_cast<char>(c);
    } else if (c == '\n') {
      out_ << "\\n";
    } else if (c == '\r') {
      out_ << "\\r";
    } else if (c == '\t') {
      out_ << "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      out_ << "\\u00" << kHex[c >> 4] << kHex[c & 0xF];
    } else if (c < 0x80) {
      out_ << static_cast<char>(c);
    } else if (const std::size_t length = Utf8Length(text, i); length > 0) {
      out_.write(text.data() + i, static_cast<std::streamsize>(length));
      i += length;
      continue;
    } else {
      out_ << "\\ufffd";
    }
    ++i;
  }
  out_ << '"';
}

JsonWriter& JsonWriter::Open() {
  Key({});
  out_ << '{';
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::Object() { return Open(); }

JsonWriter& JsonWriter::Close() {
  out_ << '}';
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::OpenArray(std::string_view key) {
  Key(key);
  out_ << '[';
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::CloseArray() {
  out_ << ']';
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::Text(std::string_view key, std::string_view text) {
  Key(key);
  String(text);
  return *this;
}

JsonWriter& JsonWriter::Path(std::string_view key, std::string_view path) {
  return Text(key, EncodeRecordedPath(path));
}

JsonWriter& JsonWriter::Number(std::string_view key, std::int64_t number) {
  Key(key);
  out_ << number;
  return *this;
}

JsonWriter& JsonWriter::Bool(std::string_view key, bool value) {
  Key(key);
  out_ << (value ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::Null(std::string_view key) {
  Key(key);
  out_ << "null";
  return *this;
}

JsonWriter& JsonWriter::TextElement(std::string_view text) {
  Key({});
  String(text);
  return *this;
}

void JsonWriter::End() { out_ << '\n' << std::flush; }

}  // namespace zefa
