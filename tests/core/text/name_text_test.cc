// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/name_text.h"

#include <gtest/gtest.h>

#include "text/uri_list.h"

namespace zefa {
namespace {

struct NameCase {
  std::string_view bytes;
  std::string_view shown;     // DisplayPath
  std::string_view new_name;  // NameInCodePage, UTF-8
};

TEST(NameText, ShownReadablyAndNamedInUtf8) {
  const NameCase cases[] = {
      {"写真.jpg", "写真.jpg", "写真.jpg"},
      {"plain.txt", "plain.txt", "plain.txt"},
      // Shift-JIS, one of whose trail bytes is "\".
      {"\x83\x5c.txt", "ソ.txt", "ソ.txt"},
      {"\x8e\xca\x90\x5e \x82\xa0", "写真 あ", "写真 あ"},
      {"\xb6\xde", "ｶﾞ", "ｶﾞ"},
      // Latin-1: 0xE9 before "." is no Shift-JIS character either.
      {"caf\xe9.txt", "caf\\xE9.txt", "caf\xe9.txt"},
      {"\x83", "\\x83", "\x83"},
      {"写\xff", "写\\xFF", "写\xff"},
      // Decomposed が (か + U+3099) is shown as it is and named composed.
      {"\xe3\x81\x8b\xe3\x82\x99.jpg", "\xe3\x81\x8b\xe3\x82\x99.jpg", "が.jpg"},
      {"", "", ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(DisplayName(c.bytes), c.shown) << c.bytes;
    EXPECT_EQ(NameInCodePage(c.bytes, CodePage::kUtf8), c.new_name) << c.bytes;
    // A system whose names are Shift-JIS keeps every name as it is.
    EXPECT_EQ(NameInCodePage(c.bytes, CodePage::kShiftJis), c.bytes);
  }
  // Each part of a path on its own: a Shift-JIS name in a UTF-8 folder.
  EXPECT_EQ(DisplayPath("/home/写真/\x83\x5c.txt"), "/home/写真/ソ.txt");
  EXPECT_EQ(DisplayPath("/a/caf\xe9/\x83\x5c/"), "/a/caf\\xE9/ソ/");
  EXPECT_EQ(StrictShiftJisToUtf8("\x82"), std::nullopt);
}

TEST(UriList, FileUrisOfThisMachineAsBytes) {
  const auto entries = ParseUriList(
      "# a comment\r\n"
      "file:///home/u/%83%5C.txt\r\n"
      "\r\n"
      "file://localhost/a%20b%e9\r\n"
      "FILE://LocalHost/c\n"
      "file:/d%zz%4\n"
      "file:///e?query#part\r\n"
      "file://host/f\r\n"
      "https://example.com/g\r\n"
      "file:///h%00i\r\n"
      "file:relative\r\n"
      "file:///last");
  const std::vector<DroppedUri> expected = {{true, "/home/u/\x83\x5c.txt"},
                                            {true, "/a b\xe9"},
                                            {true, "/c"},
                                            {true, "/d%zz%4"},
                                            {true, "/e"},
                                            {false, "file://host/f"},
                                            {false, "https://example.com/g"},
                                            {false, "file:///h%00i"},
                                            {false, "file:relative"},
                                            {true, "/last"}};
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].local_file, expected[i].local_file) << i;
    EXPECT_EQ(entries[i].path, expected[i].path) << i;
  }
  EXPECT_TRUE(ParseUriList("").empty());
}

TEST(UriList, ArgumentsAreBytesUnderTheCurrentFolder) {
  EXPECT_EQ(AbsoluteArgumentPath("caf\xe9.txt", "/w/\x83\x5c"), "/w/\x83\x5c/caf\xe9.txt");
  EXPECT_EQ(AbsoluteArgumentPath("/abs/x", "/w"), "/abs/x");
  EXPECT_EQ(AbsoluteArgumentPath("x", "/"), "/x");
}

}  // namespace
}  // namespace zefa
