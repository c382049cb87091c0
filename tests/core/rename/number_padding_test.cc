// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "names/name_replace.h"
#include "text/code_page_convert.h"

namespace zefa::number_padding_test {

struct PadCase {
  int digits;
  int shift;
  std::string before;
  std::string after;
};

TEST(PadNumbers, PutsEveryNumberInANameToItsWidth) {
  const PadCase cases[] = {
      {3, 0, "第1巻", "第001巻"},
      {3, 0, "vol2", "vol002"},
      {3, 0, "第１２巻", "第０１２巻"},  // full-width digits stay full-width
      {3, 1, "第1巻", "第002巻"},
      {1, 1, "第9巻", "第10巻"},
      {3, 0, "2024 ep7", "2024 ep007"},
      {2, 0, "a0007", "a07"},
      {3, -2, "x1 y5", "x1 y003"},  // a number that would fall below 0 stays
      {3, 0, "12345678901234567890", "12345678901234567890"},
      {6, 0, "no digits", "no digits"},
  };
  for (const PadCase& c : cases) {
    ReplaceRule rule;
    rule.pad_digits = c.digits;
    rule.number_shift = c.shift;
    NameReplacer replacer(rule, CodePage::kUtf8);
    std::string out = c.before;
    replacer.Apply(c.before, out);
    EXPECT_EQ(out, c.after) << c.before;
  }
  // In Shift-JIS too, and never in an extension.
  ReplaceRule rule;
  rule.pad_digits = 3;
  NameReplacer shift_jis(rule, CodePage::kShiftJis);
  std::string out;
  ASSERT_EQ(shift_jis.Apply(Utf8ToShiftJis("第１巻"), out), NameReplacer::Outcome::kChanged);
  EXPECT_EQ(ShiftJisToUtf8(out), "第００１巻");
  rule.target = ReplaceTarget::kExtension;
  NameReplacer extension(rule, CodePage::kUtf8);
  EXPECT_EQ(extension.Apply(".mp3", out), NameReplacer::Outcome::kUnchanged);
}

// Shifting 1..3 up by one gives 2..4: each row's new name is its own value, not the next
// row's old one.
TEST(PadNumbers, ShiftsEveryRowFromItsOwnName) {
  RenameList list;
  for (const char* name : {"第1巻", "第2巻", "第3巻"})
    list.AppendRow("/c/" + std::string(name), name, ".zip", "");
  ReplaceRule rule;
  rule.pad_digits = 1;
  rule.number_shift = 1;
  ReplaceScan scan(list, rule, TextRules{});
  scan.Finish();
  ASSERT_TRUE(scan.CanApply());
  scan.ApplyTo(list);
  EXPECT_EQ(list.unique.entries, (std::vector<std::string>{"第2巻", "第3巻", "第4巻"}));
}

TEST(ReplaceScan, FillsTheReplacementsTokensForEachRow) {
  RenameList list;
  list.AppendRow("/m/作者A/x.zip", "x 1", ".zip", "");
  list.AppendRow("/m/a$1/x.zip", "x 2", ".zip", "");
  for (const bool regex : {false, true}) {
    ReplaceRule rule;
    rule.search = regex ? "x (\\d)" : "x";
    rule.replacement = regex ? "{フォルダ名}-$1" : "{フォルダ名}";
    rule.regex = regex;
    ReplaceScan scan(list, rule, TextRules{});
    scan.Finish();
    ASSERT_TRUE(scan.CanApply()) << scan.error();
    EXPECT_EQ(scan.new_texts(), regex ? (std::vector<std::string>{"作者A-1", "a$1-2"})
                                      : (std::vector<std::string>{"作者A 1", "a$1 2"}));
  }
}

}  // namespace zefa::number_padding_test
