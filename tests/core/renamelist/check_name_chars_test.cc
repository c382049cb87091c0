// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/check_name_chars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_prompter.h"

namespace zefa {
namespace {

struct NameCase {
  const char* text;
  CodePage code_page;
  char forbidden;  // '\0': the text passes
};

class CheckNameCharsTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CheckNameCharsTest, ReportsTheFirstForbiddenCharacterInTestOrder) {
  const NameCase& c = GetParam();
  test::ScriptedPrompter prompter;
  const bool passes = CheckNameChars(c.text, c.code_page, prompter);
  EXPECT_EQ(passes, c.forbidden == '\0');
  std::vector<std::string> expected;
  if (c.forbidden != '\0') {
    expected = {"beep error",
                std::string("error 使えない文字\"") + c.forbidden + "\"が含まれています"};
  }
  EXPECT_EQ(prompter.log, expected);
}

constexpr CodePage kUtf8 = CodePage::kUtf8;
constexpr CodePage kSjis = CodePage::kShiftJis;

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckNameCharsTest,
    ::testing::Values(
        NameCase{"a\\b", kUtf8, '\\'}, NameCase{"a/b", kUtf8, '/'}, NameCase{"a:b", kUtf8, ':'},
        NameCase{"a*b", kUtf8, '*'}, NameCase{"a\"b", kUtf8, '"'}, NameCase{"a<b", kUtf8, '<'},
        NameCase{"a>b", kUtf8, '>'}, NameCase{"a|b", kUtf8, '|'},
        // The order of the tests decides, not the position in the text.
        NameCase{"x*y:z", kUtf8, ':'}, NameCase{"|<>\"*:/\\", kUtf8, '\\'},
        NameCase{"what?", kUtf8, '\0'}, NameCase{"", kUtf8, '\0'}, NameCase{"表ソ", kUtf8, '\0'},
        // Shift-JIS 表 (0x95 0x5C), ソ (0x83 0x5C) and ポ (0x83 0x7C): second bytes only.
        NameCase{"\x95\x5C", kSjis, '\0'}, NameCase{"\x83\x5C\x83\x7C", kSjis, '\0'},
        NameCase{"\x95\x5C\\", kSjis, '\\'}, NameCase{"\x83\x7C|", kSjis, '|'},
        NameCase{"\x83\x7C"
                 "a:",
                 kSjis, ':'},
        // Read as UTF-8 the same bytes hold a backslash of its own.
        NameCase{"\x95\x5C", kUtf8, '\\'}));

}  // namespace
}  // namespace zefa
