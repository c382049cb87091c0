// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/code_page_convert.h"

#include <gtest/gtest.h>

#include "text/text_rules.h"

namespace zefa {
namespace {

struct ConvertCase {
  const char* name;
  std::string_view shift_jis;
  std::string_view utf8;
};

// Tests are named by their case; the bytes would make unreadable names.
void PrintTo(const ConvertCase& c, std::ostream* out) { *out << c.name; }

class CodePageConvertTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(CodePageConvertTest, BothWays) {
  const ConvertCase& c = GetParam();
  EXPECT_EQ(ShiftJisToUtf8(c.shift_jis), c.utf8);
  EXPECT_EQ(Utf8ToShiftJis(c.utf8), c.shift_jis);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageConvertTest,
    ::testing::Values(ConvertCase{"Empty", "", ""}, ConvertCase{"Ascii", "keta=1", "keta=1"},
                      ConvertCase{"Brackets", "\x81\x75\x81\x76", "\xE3\x80\x8C\xE3\x80\x8D"},
                      ConvertCase{"SoKeepsItsBackslashByte", "\x83\x5C", "\xE3\x82\xBD"},
                      ConvertCase{"ChoonKeepsItsBracketByte", "\x81\x5B", "\xE3\x83\xBC"},
                      ConvertCase{"HalfWidthKana", "\xB1", "\xEF\xBD\xB1"},
                      ConvertCase{"BackslashIsBackslash", "C:\\a", "C:\\a"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(CodePageConvert, WhatCannotBeConvertedIsMarked) {
  // A stray byte shows as U+FFFD, and the result is UTF-8 in every case.
  EXPECT_EQ(ShiftJisToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(ShiftJisToUtf8("\xFD"
                           "b"),
            "\xEF\xBF\xBD"
            "b");
  EXPECT_TRUE(IsValidUtf8(ShiftJisToUtf8("\x80\xA0\xFD\xFE\xFF\x81\x20")));
  // An emoji has no Shift-JIS form; broken UTF-8 neither.
  EXPECT_EQ(Utf8ToShiftJis("a\xF0\x9F\x98\x80"
                           "b"),
            "a?b");
  EXPECT_EQ(Utf8ToShiftJis("a\xE3\x80"), "a?");
}

TEST(CodePageConvert, LongTextIsConvertedWhole) {
  std::string shift_jis;
  std::string utf8;
  for (int i = 0; i < 5000; ++i) {
    shift_jis += "\xB1\x81\x75";  // half-width kana grows from one byte to three
    utf8 += "\xEF\xBD\xB1\xE3\x80\x8C";
  }
  EXPECT_EQ(ShiftJisToUtf8(shift_jis), utf8);
  EXPECT_EQ(Utf8ToShiftJis(utf8), shift_jis);
}

TEST(DecodeStoredText, Utf8StaysShiftJisIsConverted) {
  EXPECT_EQ(DecodeStoredText("koyu_aki=\xE3\x80\x8C"), "koyu_aki=\xE3\x80\x8C");
  EXPECT_EQ(DecodeStoredText("koyu_aki=\x81\x75"), "koyu_aki=\xE3\x80\x8C");
  EXPECT_EQ(DecodeStoredText(""), "");
}

}  // namespace
}  // namespace zefa
