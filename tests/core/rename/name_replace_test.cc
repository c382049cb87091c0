// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/name_replace.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "text/code_page_convert.h"

namespace zefa {
namespace {

using Outcome = NameReplacer::Outcome;

ReplaceRule Search(std::string search, std::string replacement, bool regex = false) {
  ReplaceRule rule;
  rule.search = std::move(search);
  rule.replacement = std::move(replacement);
  rule.regex = regex;
  return rule;
}

ReplaceRule Convert(void (*tick)(ReplaceRule&)) {
  ReplaceRule rule;
  tick(rule);
  return rule;
}

struct ReplaceCase {
  const char* name;
  ReplaceRule rule;
  std::string before;
  std::string after;  // == before: unchanged
  CodePage code_page = CodePage::kUtf8;
};

void PrintTo(const ReplaceCase& c, std::ostream* out) { *out << c.name; }

class NameReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(NameReplaceTest, GivesTheNewName) {
  const ReplaceCase& c = GetParam();
  NameReplacer replacer(c.rule, c.code_page);
  ASSERT_EQ(replacer.error(), "");
  std::string out = "untouched";
  const Outcome outcome = replacer.Apply(c.before, out);
  if (c.after == c.before) {
    EXPECT_EQ(outcome, Outcome::kUnchanged);
    EXPECT_EQ(out, "untouched");
  } else {
    EXPECT_EQ(outcome, Outcome::kChanged);
    EXPECT_EQ(out, c.after);
  }
}

ReplaceRule MatchCase(ReplaceRule rule) {
  rule.match_case = true;
  return rule;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameReplaceTest,
    ::testing::Values(
        ReplaceCase{"CopyNumberGoes", Search(" (1)", ""), "写真 (1)", "写真"},
        ReplaceCase{"EveryMatch", Search("_", "-"), "a_b_c", "a-b-c"},
        ReplaceCase{"IgnoresCase", Search("_scan", ""), "IMG_SCAN", "IMG"},
        ReplaceCase{"MatchesCase", MatchCase(Search("_scan", "")), "IMG_SCAN", "IMG_SCAN"},
        ReplaceCase{"FullWidthLettersMatchAnyCase", Search("ａ", "x"), "Ａ", "x"},
        ReplaceCase{"PlainReplacementIsPlain", Search("a", "$1\\"), "ab", "$1\\b"},
        ReplaceCase{"PlainSearchIsPlain", Search(".*", "x"), "a.*b", "axb"},
        ReplaceCase{"GroupsSwap", Search("(\\d+)_(\\w+)", "$2_$1", true), "2024_trip", "trip_2024"},
        ReplaceCase{"NamedGroup", Search("(?<n>\\d+)", "[${n}]", true), "p12", "p[12]"},
        ReplaceCase{"Anchored", Search("^img_", "", true), "IMG_0001", "0001"},
        ReplaceCase{"NoMatch", Search("zzz", "y", true), "abc", "abc"},
        ReplaceCase{"HalfWidth", Convert([](ReplaceRule& r) { r.to_half_width = true; }),
                    "ＡＢＣ１２３　（１）カタカナ", "ABC123 (1)カタカナ"},
        ReplaceCase{"KanaToFullWidth", Convert([](ReplaceRule& r) { r.to_full_width_kana = true; }),
                    "ﾊﾝｶｸｶﾞﾊﾟ｢1｣", "ハンカクガパ「1」"},
        ReplaceCase{"KanaFromShiftJisName",
                    Convert([](ReplaceRule& r) { r.to_full_width_kana = true; }),
                    ShiftJisToUtf8("\xB6\xDE\xD7\xBD"), "ガラス"},
        ReplaceCase{"Upper", Convert([](ReplaceRule& r) { r.case_change = CaseChange::kUpper; }),
                    "scan_ａｂ", "SCAN_ＡＢ"},
        ReplaceCase{"Lower", Convert([](ReplaceRule& r) { r.case_change = CaseChange::kLower; }),
                    ".JPG", ".jpg"},
        ReplaceCase{"ComposesNfd", Convert([](ReplaceRule& r) { r.compose = true; }),
                    "\xE3\x81\x8B\xE3\x82\x99\xE3\x83\x8F\xE3\x82\x9A", "がパ"},
        ReplaceCase{"ComposedStays", Convert([](ReplaceRule& r) { r.compose = true; }), "がパ",
                    "がパ"},
        ReplaceCase{"SearchThenConvert",
                    [] {
                      ReplaceRule rule = Search("_SCAN", "");
                      rule.to_half_width = true;
                      rule.case_change = CaseChange::kLower;
                      return rule;
                    }(),
                    "ＩＭＧ_scan", "img"},
        // Bytes that are no text pass through every step as they came.
        ReplaceCase{"StrayBytesKept", Convert([](ReplaceRule& r) { r.to_half_width = true; }),
                    "\xFF\x81Ａ",
                    "\xFF\x81"
                    "A"},
        ReplaceCase{"SearchBesideStrayBytes", Search("c", "X"), "abc\x83\x5C", "abX\x83\x5C"},
        ReplaceCase{"ShiftJisSecondByteIsNoBackslash",
                    Convert([](ReplaceRule& r) { r.to_half_width = true; }),
                    "\x83\x5C\x81\x69\x82\x50\x81\x6A", "\x83\x5C(1)", CodePage::kShiftJis},
        ReplaceCase{"ShiftJisSearch", Search("ソ", "ゾ"), "a\x83\x5C", "a\x83\x5D",
                    CodePage::kShiftJis}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(NameReplace, AnEmojiHasNoShiftJisBytes) {
  NameReplacer replacer(Search("a", "😀"), CodePage::kShiftJis);
  std::string out;
  EXPECT_EQ(replacer.Apply("a", out), Outcome::kUnwritable);
}

TEST(NameReplace, RulesThatCannotBeUsedSayWhereAndWhy) {
  const struct {
    ReplaceRule rule;
    RuleField field;
    const char* error;
  } cases[] = {
      {Search("(abc", "", true), RuleField::kSearch,
       "正規表現の誤り（5 文字目）：括弧の対応がとれていません"},
      {Search("a{2,1}", "", true), RuleField::kSearch, "{ } の回数指定が正しくありません"},
      {Search("*a", "", true), RuleField::kSearch, "繰り返しの記号の前に文字がありません"},
      {Search("(a)", "$2", true), RuleField::kReplacement, "「$2」に当たるグループがありません"},
      {Search("(a)", "$x", true), RuleField::kReplacement, "「$」の後には番号か"},
      {Search("(a)", "${b}", true), RuleField::kReplacement, "「${b}」というグループがありません"},
      {Search("(", "$9", false), RuleField::kNone, ""},
  };
  for (const auto& c : cases) {
    NameReplacer replacer(c.rule, CodePage::kUtf8);
    EXPECT_EQ(replacer.error_field(), c.field) << c.rule.search;
    EXPECT_NE(replacer.error().find(c.error), std::string::npos) << replacer.error();
  }
}

RenameList ListOf(const std::vector<std::string>& uniques) {
  RenameList list;
  for (const std::string& unique : uniques) list.AppendRow("/f/" + unique, unique, ".JPG", "");
  return list;
}

TEST(ReplaceScan, ChangesOnlyTheRowsThatChangeAndWritesThem) {
  RenameList list = ListOf({"a (1)", "b", "c (1)"});
  ReplaceRule rule = Search(" (1)", "");
  ReplaceScan scan(list, rule, TextRules{});
  EXPECT_TRUE(scan.Step(2));
  EXPECT_EQ(scan.changed_rows(), std::vector<int>{0});
  scan.Finish();
  EXPECT_EQ(scan.changed_rows(), (std::vector<int>{0, 2}));
  ASSERT_TRUE(scan.CanApply());
  scan.ApplyTo(list);
  EXPECT_EQ(list.unique.entries, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list.extension.entries[0], ".JPG");

  rule = Convert([](ReplaceRule& r) { r.case_change = CaseChange::kLower; });
  rule.target = ReplaceTarget::kExtension;
  ReplaceScan extensions(list, rule, TextRules{});
  extensions.Finish();
  extensions.ApplyTo(list);
  EXPECT_EQ(list.extension.entries, (std::vector<std::string>(3, ".jpg")));
  EXPECT_EQ(list.unique.entries[0], "a");
}

TEST(ReplaceScan, StopsAtTheRowItCannotNameAndChangesNothing) {
  const std::string slow = std::string(40, 'a') + "b";
  const struct {
    const char* name;
    ReplaceRule rule;
    TextRules rules;
    RuleField field;
    std::string error;
  } cases[] = {
      {"Catastrophic",
       Search("(a|aa)+$", "", true),
       {},
       RuleField::kSearch,
       "2 行目で検索に時間がかかりすぎるため、中止しました"},
      {"Separator",
       Search("_", "/"),
       {},
       RuleField::kReplacement,
       "2 行目：置換後の名前に使えない文字\"/\"が含まれています"},
      {"SeparatorByWidth",
       Convert([](ReplaceRule& r) { r.to_half_width = true; }),
       {},
       RuleField::kReplacement,
       "3 行目：置換後の名前に使えない文字\"/\"が含まれています"},
      {"WindowsColon",
       Search("_", ":"),
       {CodePage::kUtf8, PathStyle::kWindows},
       RuleField::kReplacement,
       "2 行目：置換後の名前に使えない文字\":\"が含まれています"},
      {"Nul",
       Search("_", std::string("\0", 1)),
       {},
       RuleField::kReplacement,
       "2 行目：置換後の名前に NUL 文字が含まれています"},
  };
  for (const auto& c : cases) {
    RenameList list = ListOf({"ok", slow + "_", "Ａ／Ｂ"});
    ReplaceScan scan(list, c.rule, c.rules);
    scan.Finish();
    EXPECT_EQ(scan.error(), c.error) << c.name;
    EXPECT_EQ(scan.error_field(), c.field) << c.name;
    EXPECT_FALSE(scan.CanApply()) << c.name;
    scan.ApplyTo(list);
    EXPECT_EQ(list.unique.entries[1], slow + "_") << c.name;
  }
}

TEST(ReplaceScan, StopsAPatternWhoseWorkOverTheListRunsAway) {
  // Each name is under the limit of one name; together they would hold the window for minutes.
  const std::string name = std::string(17, 'a') + "b";
  RenameList list = ListOf(std::vector<std::string>(20000, name));
  ReplaceScan scan(list, Search("(a+)+$", "", true), TextRules{});
  scan.Finish();
  EXPECT_EQ(scan.error_field(), RuleField::kSearch);
  EXPECT_LT(scan.rows_looked_at(), 20000);
  EXPECT_EQ(scan.error(),
            std::to_string(scan.rows_looked_at() + 1) +
                " 行目まで調べたところで、検索にかかる時間が全体の上限を超えたため中止しました");
  EXPECT_FALSE(scan.CanApply());

  // A sound pattern spends nothing of that over as many names.
  NameReplacer sound(Search("a+b$", "x", true), CodePage::kUtf8);
  std::string out;
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(sound.Apply(name, out), Outcome::kChanged);
  EXPECT_EQ(sound.steps_spent(), 0);
}

TEST(ReplaceScan, ASliceOfTimeLooksAtOneRowAtLeast) {
  RenameList list = ListOf({"a_1", "b_1", "c_1"});
  ReplaceScan scan(list, Search("_1", ""), TextRules{});
  EXPECT_TRUE(scan.StepUntil(std::chrono::steady_clock::now() - std::chrono::seconds(1)));
  EXPECT_EQ(scan.rows_looked_at(), 1);
  EXPECT_FALSE(scan.StepUntil(std::chrono::steady_clock::now() + std::chrono::hours(1)));
  EXPECT_EQ(scan.changed_rows(), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(scan.CanApply());
}

}  // namespace
}  // namespace zefa
