// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/unique_name.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "settings/settings_file.h"

namespace zefa {
namespace {

// Shift-JIS characters whose second byte is an ASCII code.
#define SJ_LONG_VOWEL "\x81\x5B"  // ー, second byte "["
#define SJ_SO "\x83\x5C"          // ソ, second byte "\"
#define SJ_RO "\x83\x8D"          // ロ
#define SJ_OPEN "\x81\x75"        // 「
#define SJ_CLOSE "\x81\x76"       // 」

struct DeriveCase {
  const char* path;
  const char* common_name;
  DeriveSettings settings;
  const char* expected;
};

class DeriveUtf8 : public ::testing::TestWithParam<DeriveCase> {};

TEST_P(DeriveUtf8, GivesTheUniqueName) {
  const DeriveCase& c = GetParam();
  EXPECT_EQ(DeriveUniqueName(c.path, c.common_name, c.settings, TextRules{}), c.expected)
      << c.path << " with common name " << c.common_name;
}

const DeriveSettings kPlain{};
const DeriveSettings kWhenAdd{true, false, "", ""};
const DeriveSettings kDefaultBrackets{false, true, "「", "」"};
const DeriveSettings kParens{false, true, "(", ")"};
const DeriveSettings kBoth{true, true, "[", "]"};

INSTANTIATE_TEST_SUITE_P(
    Cases, DeriveUtf8,
    ::testing::Values(
        DeriveCase{"/photos/IMG_001.JPG", "", kPlain, "IMG_001"},
        DeriveCase{"/a/archive.tar.gz", "", kPlain, "archive.tar"},
        DeriveCase{"/a/.profile", "", kPlain, ""}, DeriveCase{"/a.b/README", "", kPlain, "README"},
        DeriveCase{"/p/旅行_001.jpg", "旅行", kPlain, "旅行_001"},
        DeriveCase{"/p/旅行_001.jpg", "旅行", kWhenAdd, "_001"},
        DeriveCase{"/p/xx.txt", "x", kWhenAdd, "x"},
        DeriveCase{"/p/ABC1.txt", "abc", kWhenAdd, "ABC1"},
        DeriveCase{"/p/abc.txt", "", kWhenAdd, "abc"},
        // Only the file name without extension is searched.
        DeriveCase{"/abc/x.abc", "abc", kWhenAdd, "x"},
        DeriveCase{"/b/【新刊】「タイトル」第1巻.pdf", "", kDefaultBrackets, "「タイトル」"},
        DeriveCase{"/b/plain.txt", "", kDefaultBrackets, "plain"},
        DeriveCase{"/b/a(b.txt", "", kParens, "(b"}, DeriveCase{"/b/a)b.txt", "", kParens, "a)"},
        DeriveCase{"/b/x.txt", "", kParens, "x"}, DeriveCase{"/b/b)a(c.txt", "", kParens, "(c"},
        // The common name goes first: cutting first would leave "[]".
        DeriveCase{"/t/旅行[旅行]x.jpg", "旅行", kBoth, "[旅行]"}));

TEST(DeriveShiftJis, TrailBytesAreNeitherSeparatorsNorBrackets) {
  const TextRules windows{CodePage::kShiftJis, PathStyle::kWindows};
  const DeriveSettings brackets{false, true, "[", "]"};
  EXPECT_EQ(DeriveUniqueName("C:\\pic\\" SJ_RO SJ_LONG_VOWEL "[abc]x.txt", "", brackets, windows),
            "[abc]");
  EXPECT_EQ(DeriveUniqueName("C:\\pic\\" SJ_SO ".txt", "", kPlain, windows), SJ_SO);
  EXPECT_EQ(ExtensionOfPath("C:\\pic\\" SJ_SO ".txt", windows), ".txt");
  EXPECT_EQ(DeriveUniqueName("C:\\p\\a" SJ_SO "b.txt", SJ_SO, kWhenAdd, windows), "ab");
  // The second byte of ソ is no backslash of the common name.
  EXPECT_EQ(DeriveUniqueName("C:\\p\\" SJ_SO "b.txt", "\\b", kWhenAdd, windows), SJ_SO "b");
}

struct CutCase {
  const char* name;
  const char* open;
  const char* close;
  const char* expected;
};

class CutShiftJis : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutShiftJis, CutsAtWholeCharacters) {
  const CutCase& c = GetParam();
  EXPECT_EQ(CutToBrackets(c.name, c.open, c.close, CodePage::kShiftJis), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutShiftJis,
                         ::testing::Values(CutCase{SJ_RO SJ_LONG_VOWEL "[abc]x", "[", "]", "[abc]"},
                                           CutCase{"a" SJ_SO "b\\c", "a", "\\", "a" SJ_SO "b\\"},
                                           CutCase{SJ_SO "x", "\\", "x", SJ_SO "x"},
                                           CutCase{"k" SJ_OPEN "t" SJ_CLOSE "z", SJ_OPEN, SJ_CLOSE,
                                                   SJ_OPEN "t" SJ_CLOSE},
                                           CutCase{"x(yz", "(", ")", "(yz"},
                                           CutCase{"xy)z", "(", ")", "xy)"},
                                           CutCase{"abc", "", "", "abc"},
                                           CutCase{"", "(", ")", ""}));

class DeriveSettingsFile : public ListFixture {};

TEST_F(DeriveSettingsFile, MissingFileGivesTheDefaults) {
  const DeriveSettings read = ReadDeriveSettings(MakeContext().Settings());
  EXPECT_FALSE(read.when_add);
  EXPECT_FALSE(read.koyu_kakko);
}

TEST_F(DeriveSettingsFile, BracketStringsComeWithKoyuKakko) {
  WriteSettings("when_add=1\nKoyu_kakko=1\nkoyu_aki=(\nkoyu_toji=)\n");
  DeriveSettings read = ReadDeriveSettings(MakeContext().Settings());
  EXPECT_TRUE(read.when_add);
  EXPECT_TRUE(read.koyu_kakko);
  EXPECT_EQ(read.koyu_aki, "(");
  EXPECT_EQ(read.koyu_toji, ")");

  WriteSettings("Koyu_kakko=1\n");
  read = ReadDeriveSettings(MakeContext().Settings());
  EXPECT_EQ(read.koyu_aki, "「");
  EXPECT_EQ(read.koyu_toji, "」");
}

}  // namespace
}  // namespace zefa
