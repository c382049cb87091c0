// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings/profile.h"

#include <gtest/gtest.h>

#include <climits>

namespace zefa {
namespace {

std::optional<std::string> FindIn(std::string_view text, std::string_view section,
                                  std::string_view key) {
  const Profile profile = Profile::Parse(text);
  const auto value = profile.Find(section, key);
  return value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
}

std::string SetIn(std::string_view text, std::string_view section, std::string_view key,
                  std::string_view value) {
  Profile profile = Profile::Parse(text);
  EXPECT_TRUE(profile.Set(section, key, value));
  return profile.Serialize();
}

struct IntegerCase {
  std::string_view text;
  std::optional<int> expected;
};

TEST(ParseProfileInteger, DecimalAndHexOnly) {
  const IntegerCase cases[] = {
      {"3", 3},
      {"0x3", 3},
      {"0X1f", 31},
      {"-2", -2},
      {"+5", 5},
      {" 7 ", 7},
      {"007", 7},
      {"-0x10", -16},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", std::nullopt},
      {"0x80000000", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"yes", std::nullopt},
      {"12abc", std::nullopt},
      {"1.5", std::nullopt},
      {"0x", std::nullopt},
      {"0x0x3", std::nullopt},
      {"--3", std::nullopt},
      {"+-3", std::nullopt},
      {"0x-3", std::nullopt},
      {"0x+3", std::nullopt},
      {"-", std::nullopt},
      {"\xEF\xBC\x93", std::nullopt},  // a full-width 3 is no digit
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ParseProfileInteger(c.text), c.expected) << "text: \"" << c.text << '"';
  }
}

struct ReadCase {
  const char* name;
  std::string_view text;
  std::string_view section;
  std::string_view key;
  std::optional<std::string_view> expected;
};

// Tests are named by their case; the bytes would make unreadable names.
void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class ProfileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, FindsAsTheProfileFunctionsDo) {
  const ReadCase& c = GetParam();
  const auto found = FindIn(c.text, c.section, c.key);
  ASSERT_EQ(found.has_value(), c.expected.has_value());
  if (found) {
    EXPECT_EQ(*found, *c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadTest,
    ::testing::Values(
        ReadCase{"Plain", "[Option]\nketa=2\n", "Option", "keta", "2"},
        ReadCase{"SectionCase", "[OPTION]\nketa=2\n", "Option", "keta", "2"},
        ReadCase{"KeyCase", "[Option]\nNUM_AKI=(\n", "Option", "Num_aki", "("},
        ReadCase{"BlanksAroundNames", "  [ Option ]  \n\t keta \t= 2\n", "Option", "keta", "2"},
        ReadCase{"BlanksAroundValue", "[Option]\nNum_aki=  ( \t\n", "Option", "Num_aki", "("},
        ReadCase{"DoubleQuotesDropped", "[Option]\nNum_aki=\" [\"\n", "Option", "Num_aki", " ["},
        ReadCase{"SingleQuotesDropped", "[Option]\nNum_aki='x'\n", "Option", "Num_aki", "x"},
        ReadCase{"OnlyOnePairDropped", "[Option]\nNum_aki=\"\"x\"\"\n", "Option", "Num_aki",
                 "\"x\""},
        ReadCase{"UnmatchedQuotesKept", "[Option]\nNum_aki=\"x'\n", "Option", "Num_aki", "\"x'"},
        ReadCase{"LoneQuoteKept", "[Option]\nNum_aki=\"\n", "Option", "Num_aki", "\""},
        ReadCase{"QuotedBlanksKept", "[Option]\nNum_aki=  \"  \"  \n", "Option", "Num_aki", "  "},
        ReadCase{"EqualsInValue", "[Option]\nNum_aki=a=b\n", "Option", "Num_aki", "a=b"},
        ReadCase{"EmptyValueIsPresent", "[Option]\nNum_aki=\n", "Option", "Num_aki", ""},
        ReadCase{"MissingKey", "[Option]\nketa=2\n", "Option", "pattern", std::nullopt},
        ReadCase{"MissingSection", "[Other]\nketa=2\n", "Option", "keta", std::nullopt},
        ReadCase{"KeyInOtherSection", "[Other]\nketa=2\n[Option]\n", "Option", "keta",
                 std::nullopt},
        ReadCase{"KeyBeforeAnySection", "keta=2\n[Option]\n", "Option", "keta", std::nullopt},
        ReadCase{"LineWithoutEquals", "[Option]\nketa\n", "Option", "keta", std::nullopt},
        ReadCase{"FirstKeyWins", "[Option]\nketa=2\nketa=3\n", "Option", "keta", "2"},
        ReadCase{"FirstSectionWins", "[Option]\nketa=2\n[Option]\nketa=3\npattern=4\n", "Option",
                 "pattern", std::nullopt},
        ReadCase{"CrLf", "[Option]\r\nNum_aki=[\r\n", "Option", "Num_aki", "["},
        ReadCase{"LastLineWithoutEnd", "[Option]\nketa=5", "Option", "keta", "5"},
        ReadCase{"LastLineWithCr", "[Option]\nketa=5\r", "Option", "keta", "5"},
        ReadCase{"SectionWithoutBracket", "[Option\nketa=5\n", "Option", "keta", "5"},
        ReadCase{"Utf8Bom", "\xEF\xBB\xBF[Option]\nketa=5\n", "Option", "keta", "5"},
        ReadCase{"ShiftJisFile", "[Option]\r\nkoyu_aki=\x81\x75\r\nkoyu_toji=\x81\x76\r\n",
                 "Option", "koyu_aki", "\xE3\x80\x8C"},
        ReadCase{"ShiftJisTrailBracket", "[Option]\r\nNum_aki=\x81\x5B\r\n", "Option", "Num_aki",
                 "\xE3\x83\xBC"},
        ReadCase{"Utf8File", "[Option]\nkoyu_aki=\xE3\x80\x8C\n", "Option", "koyu_aki",
                 "\xE3\x80\x8C"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

struct WriteCase {
  const char* name;
  std::string_view before;
  std::string_view section;
  std::string_view key;
  std::string_view value;
  std::string_view after;
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }

class ProfileWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteTest, ChangesOnlyWhatItMust) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(SetIn(c.before, c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWriteTest,
    ::testing::Values(
        WriteCase{"EmptyFile", "", "Option", "keta", "1", "[Option]\nketa=1\n"},
        WriteCase{"ReplacedInPlace", "[Option]\nketa=1\npattern=1\n", "Option", "keta", "3",
                  "[Option]\nketa=3\npattern=1\n"},
        WriteCase{"ReplacedWithoutRegardToCase", "[OPTION]\nKETA=1\n", "Option", "keta", "3",
                  "[OPTION]\nketa=3\n"},
        WriteCase{"NewKeyAtEndOfItsSection", "[Option]\nketa=1\n\n[Other]\nx=1\n", "Option",
                  "pattern", "7", "[Option]\nketa=1\npattern=7\n\n[Other]\nx=1\n"},
        WriteCase{"NewSectionAtEnd", "[Other]\nx=1", "Option", "keta", "1",
                  "[Other]\nx=1\n[Option]\nketa=1\n"},
        WriteCase{"CrLfKept", "[Option]\r\nketa=1\r\n", "Option", "pattern", "2",
                  "[Option]\r\nketa=1\r\npattern=2\r\n"},
        WriteCase{"OtherLinesKeptByteForByte",
                  "; note\n[Option]\n  keta =  1 \t\ngarbage line\r\nspace=1", "Option", "pattern",
                  "2", "; note\n[Option]\n  keta =  1 \t\ngarbage line\r\nspace=1\npattern=2\n"},
        WriteCase{"BlankValueQuoted", "", "Option", "Num_aki", " [", "[Option]\nNum_aki=\" [\"\n"},
        WriteCase{"QuotedValueQuotedAgain", "", "Option", "Num_aki", "\"x\"",
                  "[Option]\nNum_aki=\"\"x\"\"\n"},
        WriteCase{"EmptyValue", "[Option]\nNum_aki=[\n", "Option", "Num_aki", "",
                  "[Option]\nNum_aki=\n"},
        WriteCase{"BomKept", "\xEF\xBB\xBF[Option]\n", "Option", "keta", "2",
                  "\xEF\xBB\xBF[Option]\nketa=2\n"},
        WriteCase{"ShiftJisFileBecomesUtf8", "[Option]\r\nkoyu_aki=\x81\x75\r\n", "Option", "keta",
                  "1", "[Option]\r\nkoyu_aki=\xE3\x80\x8C\r\nketa=1\r\n"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(Profile, EveryValueReadsBackByteForByte) {
  const std::string_view values[] = {
      " [",  "[ ",       "\t",           " ",     "",
      "\"",  "'",        "\"\"",         "\"x\"", "'x'",
      "a\"", "\"a",      " \"a\" ",      "=",     "a=b",
      "[x]", ";comment", "\xE3\x80\x8C", "x\ty",  std::string_view("a\0b", 3)};
  for (const std::string_view value : values) {
    Profile profile = Profile::Parse("[Option]\nNum_aki=[\n");
    ASSERT_TRUE(profile.Set("Option", "Num_aki", value));
    const Profile reread = Profile::Parse(profile.Serialize());
    const auto found = reread.Find("Option", "Num_aki");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, value) << "stored as " << profile.Serialize();
  }
}

TEST(Profile, RefusesWhatCouldNotBeReadBack) {
  const std::string text = "[Option]\nketa=1\n";
  struct Refused {
    std::string_view section, key, value;
  };
  const Refused cases[] = {
      {"Option", "Num_aki", "a\nb"},
      {"Option", "Num_aki", "a\r"},
      {"Option", "Num_aki", "\x81\x75"},
      {"Opt]ion", "keta", "1"},
      {" Option", "keta", "1"},
      {"Op\ntion", "keta", "1"},
      {"Option", "", "1"},
      {"Option", "k=v", "1"},
      {"Option", "[k", "1"},
      {"Option", " keta", "1"},
      {"Option", "ke\nta", "1"},
  };
  for (const Refused& c : cases) {
    Profile profile = Profile::Parse(text);
    EXPECT_FALSE(profile.Set(c.section, c.key, c.value)) << c.section << '|' << c.key;
    EXPECT_EQ(profile.Serialize(), text);
  }
}

// A value found in a temporary profile would dangle: that must not compile.
template <typename P>
concept CanFindIn = requires(P&& profile) {
  std::forward<P>(profile).Find("Option", "keta");
};
static_assert(CanFindIn<const Profile&>);
static_assert(!CanFindIn<Profile>);

TEST(Profile, NamesThatDifferOnlyInWhereTheySplitStayApart) {
  const Profile profile = Profile::Parse("[a]\nbc=1\n[ab]\nc=2\n");
  EXPECT_EQ(profile.Find("a", "bc"), "1");
  EXPECT_EQ(profile.Find("ab", "c"), "2");
}

}  // namespace
}  // namespace zefa

namespace zefa {
namespace {

// A restore file is large: its look-ups go through an index, which must find the same
// lines as the scan of a small file, before and after a write.
TEST(ProfileLargeFile, IndexFindsWhatTheScanFinds) {
  std::string text = "[Count]\ncount=150\n[before]\n";
  for (int i = 0; i < 150; ++i) text += std::to_string(i) + "=/old/" + std::to_string(i) + "\n";
  text += "0=/second/line/of/key/0\n[After]\n0=/new/0\n[after]\n0=/second/section\n";
  Profile profile = Profile::Parse(text);
  EXPECT_EQ(profile.Find("count", "COUNT").value_or("?"), "150");
  EXPECT_EQ(profile.Find("BEFORE", "149").value_or("?"), "/old/149");
  EXPECT_EQ(profile.Find("before", "0").value_or("?"), "/old/0");
  EXPECT_EQ(profile.Find("after", "0").value_or("?"), "/new/0");
  EXPECT_FALSE(profile.Find("before", "150").has_value());
  ASSERT_TRUE(profile.Set("after", "1", "/new/1"));
  ASSERT_TRUE(profile.Set("Before", "7", " spaced "));
  EXPECT_EQ(profile.Find("after", "1").value_or("?"), "/new/1");
  EXPECT_EQ(profile.Find("before", "7").value_or("?"), " spaced ");
  EXPECT_EQ(profile.Find("before", "8").value_or("?"), "/old/8");
  const Profile reread = Profile::Parse(profile.Serialize());
  EXPECT_EQ(reread.Find("after", "1").value_or("?"), "/new/1");
  EXPECT_EQ(reread.Find("before", "7").value_or("?"), " spaced ");
}

}  // namespace
}  // namespace zefa
