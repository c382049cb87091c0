// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/text_rules.h"

#include <gtest/gtest.h>

namespace zefa {
namespace {

TEST(FindText, EmptyPatternIsNeverFound) {
  EXPECT_EQ(FindText("abc", "", CodePage::kUtf8), kNotFound);
}

struct FindCase {
  const char* name;
  CodePage code_page;
  std::string_view text;
  std::string_view pattern;
  std::size_t from;
  std::size_t expected;
};

// Tests are named by their case; the bytes would make unreadable names.
void PrintTo(const FindCase& c, std::ostream* out) { *out << c.name; }

class FindTextTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTextTest, FindsOnlyAtCharacterStarts) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindText(c.text, c.pattern, c.code_page, c.from), c.expected);
  if (c.from == 0) {
    EXPECT_EQ(ContainsText(c.text, c.pattern, c.code_page), c.expected != kNotFound);
  }
}

constexpr auto kSj = CodePage::kShiftJis;
constexpr auto kU8 = CodePage::kUtf8;
using namespace std::string_view_literals;

// ソ is 0x83 0x5C and 表 is 0x95 0x5C (second byte "\"), ー is 0x81 0x5B (second byte "["),
// ＼ is 0x81 0x5F; in UTF-8 ソ is E3 82 BD.
INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextTest,
    ::testing::Values(
        FindCase{"SjisTrailBackslashIsNoBackslash", kSj, "\x83\x5C.txt", "\\", 0, kNotFound},
        FindCase{"SjisOwnBackslashAfterTrail", kSj, "\x83\x5C\\x", "\\", 0, 2},
        FindCase{"SjisTrailBracketIsNoBracket", kSj,
                 "a\x81\x5B"
                 "b[",
                 "[", 0, 4},
        FindCase{"SjisTrailBarIsNoBar", kSj, "\x83\x7C", "|", 0, kNotFound},
        FindCase{"SjisWholeCharacterIsFound", kSj, "ab\x83\x5C", "\x83\x5C", 0, 2},
        FindCase{"SjisTrailPlusNextIsNoMatch", kSj, "\x95\x5C\x5C", "\x5C\x5C", 0, kNotFound},
        FindCase{"SjisPairsStartAtEvenBytes", kSj, "\x81\x81\x81\x81", "\x81\x81", 0, 0},
        FindCase{"SjisPairAfterSingleByte", kSj, "a\x81\x81\x81", "\x81\x81", 0, 1},
        FindCase{"SjisTrailThenLeadIsNoMatch", kSj, "\x81\x41\x81\x81", "\x41\x81", 0, kNotFound},
        FindCase{"SjisLeadAtEndStandsAlone", kSj, "ab\x83", "\x83", 0, 2},
        FindCase{"SjisHalfWidthKanaIsOneByte", kSj, "\xB1\x5C", "\\", 0, 1},
        FindCase{"SjisFromInsideCharacter", kSj, "\x83\x5C\\", "\\", 1, 2},
        FindCase{"Utf8ContinuationIsNoStart", kU8, "\xE3\x82\xBD", "\x82\xBD", 0, kNotFound},
        FindCase{"Utf8WholeCharacter", kU8, "a\xE3\x82\xBD", "\xE3\x82\xBD", 0, 1},
        FindCase{"Utf8BrokenSequenceIsBytes", kU8, "\xE3\x82z\x82", "\x82", 0, 1},
        FindCase{"CaseCounts", kU8, "ABCabc", "abc", 0, 3},
        FindCase{"CaseCountsNotFound", kU8, "ABC", "abc", 0, kNotFound},
        FindCase{"FirstOfSeveral", kU8, "xaxa", "a", 0, 1},
        FindCase{"FromSkipsEarlier", kU8, "xaxa", "a", 2, 3},
        FindCase{"FromPastEnd", kU8, "abc", "c", 9, kNotFound},
        FindCase{"PatternLongerThanText", kU8, "ab", "abc", 0, kNotFound},
        FindCase{"MatchAtEnd", kU8, "abc", "bc", 0, 1},
        FindCase{"EmbeddedNulBytesCompare", kU8, "a\0b"sv, "\0b"sv, 0, 1},
        FindCase{"EmptyPatternShiftJis", kSj, "abc", "", 0, kNotFound},
        FindCase{"EmptyText", kU8, "", "a", 0, kNotFound}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

struct SplitCase {
  const char* name;
  TextRules rules;
  std::string_view path;
  std::string_view folder;
  std::string_view file_name;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class PathSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PathSplitTest, SplitsAtLastOwnSeparator) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(FolderPart(c.path, c.rules), c.folder);
  EXPECT_EQ(FileNamePart(c.path, c.rules), c.file_name);
  EXPECT_EQ(HasPathSeparator(c.path, c.rules), !c.folder.empty());
}

constexpr TextRules kPosix{CodePage::kUtf8, PathStyle::kPosix};
constexpr TextRules kWindowsSjis{CodePage::kShiftJis, PathStyle::kWindows};
constexpr TextRules kWindowsUtf8{CodePage::kUtf8, PathStyle::kWindows};

INSTANTIATE_TEST_SUITE_P(
    Cases, PathSplitTest,
    ::testing::Values(
        SplitCase{"PosixFullPath", kPosix, "/home/a/photo.jpg", "/home/a/", "photo.jpg"},
        SplitCase{"PosixRootFile", kPosix, "/x", "/", "x"},
        SplitCase{"PosixNoSeparator", kPosix, "photo.jpg", "", "photo.jpg"},
        SplitCase{"PosixBackslashIsAName", kPosix, "/a/b\\c.txt", "/a/", "b\\c.txt"},
        SplitCase{"PosixColonIsAName", kPosix, "/a/c:d", "/a/", "c:d"},
        SplitCase{"PosixTrailingSlash", kPosix, "/a/b/", "/a/b/", ""},
        SplitCase{"PosixUtf8Name", kPosix, "/pic/\xE3\x82\xBD.txt", "/pic/", "\xE3\x82\xBD.txt"},
        SplitCase{"PosixEmpty", kPosix, "", "", ""},
        SplitCase{"WindowsFullPath", kWindowsSjis, "C:\\pic\\a.txt", "C:\\pic\\", "a.txt"},
        SplitCase{"WindowsSoTrailIsNoSeparator", kWindowsSjis, "D:\\pic\\\x83\x5C.txt", "D:\\pic\\",
                  "\x83\x5C.txt"},
        SplitCase{"WindowsSoAtEndOfFolder", kWindowsSjis, "D:\\\x83\x5C\\a", "D:\\\x83\x5C\\", "a"},
        SplitCase{"WindowsDriveOnly", kWindowsSjis, "C:a.txt", "C:", "a.txt"},
        SplitCase{"WindowsSlashIsAName", kWindowsSjis, "C:\\a/b", "C:\\", "a/b"},
        SplitCase{"WindowsUtf8", kWindowsUtf8, "C:\\\xE3\x82\xBD\\x", "C:\\\xE3\x82\xBD\\", "x"},
        SplitCase{"WindowsNoSeparator", kWindowsSjis, "\x83\x5C", "", "\x83\x5C"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

struct StemCase {
  const char* name;
  std::string_view file_name;
  std::string_view stem;
  std::string_view extension;
};

void PrintTo(const StemCase& c, std::ostream* out) { *out << c.name; }

class StemTest : public ::testing::TestWithParam<StemCase> {};

TEST_P(StemTest, CutsAtLastDot) {
  const StemCase& c = GetParam();
  EXPECT_EQ(StemOf(c.file_name, CodePage::kShiftJis), c.stem);
  EXPECT_EQ(ExtensionOf(c.file_name, CodePage::kShiftJis), c.extension);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StemTest,
    ::testing::Values(StemCase{"TwoDots", "archive.tar.gz", "archive.tar", ".gz"},
                      StemCase{"OnlyLeadingDot", ".profile", "", ".profile"},
                      StemCase{"NoDot", "README", "README", ""},
                      StemCase{"TrailingDot", "a.", "a", "."}, StemCase{"Empty", "", "", ""},
                      // 0x81 0x2E is no character; a lead byte swallows the byte after it.
                      StemCase{"DotAsSecondByte", "a\x81.b", "a\x81.b", ""},
                      StemCase{"SoBeforeDot", "\x83\x5C.txt", "\x83\x5C", ".txt"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(FindLineBreak, FindsTheFirstCarriageReturnOrLineFeedFromWhereItStarts) {
  constexpr std::size_t kNone = std::string_view::npos;
  const struct {
    std::string_view text;
    std::size_t from, found;
  } cases[] = {
      {"", 0, kNone},     {"写真.jpg", 0, kNone}, {"a\nb", 0, 1},    {"a\rb", 0, 1},
      {"ab\r\n", 0, 2},   {"ab\n\r", 0, 2},       {"a\nb\rc", 2, 3}, {"a\nb", 2, kNone},
      {"a\nb", 9, kNone}, {"\r", 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FindLineBreak(c.text, c.from), c.found) << c.text;
}

TEST(IsValidUtf8, RejectsWhatIsNotUtf8) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("\xE3\x80\x8C\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\x81\x75"));          // 「 in Shift-JIS
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a UTF-16 surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE3\x80"));          // cut short
}

}  // namespace
}  // namespace zefa
